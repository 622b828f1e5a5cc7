#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliWindow.h"
#include "cli/Profile.h"
#include "cli/ProvisionReport.h"
#include "cli/ProvisionSteps.h"
#include "link/IPort.h"

namespace tolvane {

class CMirlSettingsDlg;

// How long a run waits where the window itself sets no limit.
struct CRunTimings {
  int connectMs = 10'000;      // for the device to answer "COM:open"
  int replyMs = 10'000;        // for the reply to a step that has no reply timer of the window's
  int windowTimerMs = 60'000;  // backstop for a step whose reply timer is the window's own
  int wifiListMs = 20'000;     // for the network to join to show up in the device's list
  int quietMs = 300;           // the device has said what it says when the link opens
  int settleMs = 3'000;        // ... however chatty it is
};

// Provisions one device: drives the settings dialog's logic through a window without widgets,
// one step at a time, exactly as a person pressing the window's buttons would, and reports each
// step as the window's own boxes, timers and link state settle it. Lives on the thread that runs
// the Qt event loop, which plays the window's thread.
class CDeviceRun {
 public:
  enum class EMode { Send, DryRun };
  using LineSink = std::function<void(const std::string& line)>;
  // Called just before the IMEI leaves; may hand out another IMEI than the one planned (another
  // run took that one meanwhile). Returns false, with the reason, to keep it from leaving.
  using ImeiGate = std::function<bool(std::string& imei, std::string& reason)>;

  CDeviceRun(IPort& port, IPortList& ports, CProfile profile, int comNumber, EMode mode, CRunTimings timings = {});
  ~CDeviceRun();
  CDeviceRun(const CDeviceRun&) = delete;
  CDeviceRun& operator=(const CDeviceRun&) = delete;

  void SetLineSink(LineSink sink) { m_onLine = std::move(sink); }
  void SetImeiGate(ImeiGate gate) { m_imeiGate = std::move(gate); }
  // Called once, from the event loop, when the run is over and the link closed.
  void SetFinishedHandler(std::function<void()> handler) { m_onFinished = std::move(handler); }

  void Start();
  // The user wants out. The step under way ends first (its reply or its timer), so that nothing is
  // left half-done; with `now`, the link closes at once.
  void Stop(bool now);
  bool IsFinished() const { return m_phase == EPhase::Done; }
  const CDeviceReport& Report() const { return m_report; }
  CCliWindow& Window() { return m_window; }

 private:
  enum class EPhase { Idle, Connecting, SettlingBefore, Step, Reconnecting, SettlingAfter, Done };

  // The run's course (DeviceRun.cpp).
  bool SelectPort();
  void BeginConnect();
  void OnChange();
  void OnBound();
  void StartSettle(EPhase phase);
  void OnSettled();
  void BeginStep(std::size_t index);
  void AfterStep();
  void BeginReadBack();
  void MarkRestNotRun(std::size_t from, const std::string& reason);
  void CloseLink();
  void Finish();
  void Emit(const std::string& line);

  // One step: its fields, its press and its verdict (DeviceRunSteps.cpp).
  void PressStep(EStepKind kind);
  void TypeFields(EStepKind kind);
  void Press(EStepKind kind);
  void CheckWifiRow();
  void JudgeStep();
  void Record(EStepStatus status, const std::string& detail, bool linkFault = false);
  void EndStep(EStepStatus status, const std::string& detail, bool linkFault = false);
  bool EarlierStepsSucceeded() const;
  EStepKind CurrentKind() const { return m_plan[m_nCurrent]; }
  std::string LinkClosedReason() const;
  void TakeOtherMessages();

  CProfile m_profile;
  int m_nComNumber;
  EMode m_mode;
  CRunTimings m_timings;
  IPort& m_port;
  CCliWindow m_window;
  std::unique_ptr<CMirlSettingsDlg> m_dlg;

  std::vector<EStepKind> m_plan;  // index 0 is the connection
  CDeviceReport m_report;         // steps[i] belongs to m_plan[i]
  EPhase m_phase = EPhase::Idle;
  std::size_t m_nCurrent = 0;
  std::size_t m_nBoxesAtPress = 0;
  std::size_t m_nBoxesAccounted = 0;
  int m_nWifiExpiriesAtPress = 0;
  bool m_bWaitingForRow = false;
  std::vector<std::string> m_sent;       // as the report keeps them: secrets masked
  std::vector<std::string> m_sentExact;  // as they go to the device
  bool m_bStopRequested = false;
  std::string m_strAbort;  // why the run may not go on, once it may not

  QTimer m_bound;  // the run's own limit on the wait under way
  QTimer m_quiet;
  QTimer m_settleEnd;
  LineSink m_onLine;
  ImeiGate m_imeiGate;
  std::function<void()> m_onFinished;
};

}  // namespace tolvane
