#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/TrafficTrace.h"
#include "res/Strings.h"

namespace tolvane {

// Where trace lines go: the traffic window, or the file that --trace names. Told on the window's
// thread.
class ITraceView {
 public:
  virtual ~ITraceView() = default;
  // A window while it is shown, a file while it is open.
  virtual bool IsListening() const = 0;
  // False when the lines could not be kept (a file that cannot be written).
  virtual bool Show(const std::vector<std::string>& lines) = 0;
  // The first time Show fails; said where the user who asked for the view will look.
  virtual void ReportFailure() {}
};

// Takes what the link records, on the window's thread, and hands the lines to every view that
// listens. The trace records only while one listens; meanwhile the platform's pump, a timer on the
// window's thread, runs Drain a few times a second.
class CTraceFeed {
 public:
  static constexpr int kPumpMs = 100;
  using PumpSwitch = std::function<void(bool run)>;

  CTraceFeed(CTrafficTrace& trace, TextLanguage language, PumpSwitch pump);
  // The last lines of the run go out too, then nothing more is recorded.
  ~CTraceFeed();
  CTraceFeed(const CTraceFeed&) = delete;
  CTraceFeed& operator=(const CTraceFeed&) = delete;

  // Views are told in the order added; each must outlive the feed.
  void AddView(ITraceView& view);
  // After a view started or stopped listening.
  void UpdateRecording();
  // Before `view` starts listening: what was recorded until now belongs to the others only.
  void BeforeListening(const ITraceView& view);
  // A view stopped listening: what it recorded while it listened goes out before recording stops.
  void AfterListening();
  void Drain();

 private:
  struct CListener {
    ITraceView* view;
    bool bFailed;
  };

  CTrafficTrace& m_trace;
  TextLanguage m_language;
  PumpSwitch m_pump;
  bool m_bPumping = false;
  std::vector<CListener> m_views;
};

}  // namespace tolvane
