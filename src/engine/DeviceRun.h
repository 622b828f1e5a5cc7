#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Profile.h"
#include "engine/ProvisionReport.h"
#include "engine/ProvisionSteps.h"
#include "engine/EventLoop.h"
#include "engine/WindowPump.h"
#include "link/IPort.h"
#include "ui/CommandOutcome.h"
#include "ui/MemoryWindow.h"

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

// Provisions one device: drives the settings dialog's logic through the window without widgets,
// one step at a time, exactly as a person pressing the window's buttons would, and reports each
// step as the dialog tells how its command fared. Lives on the thread that runs its loop, which
// plays the window's thread.
class CDeviceRun : private ICommandObserver {
 public:
  enum class EMode { Send, DryRun };
  using LineSink = std::function<void(const std::string& line)>;
  // Called just before the IMEI leaves; may hand out another IMEI than the one planned (another
  // run took that one meanwhile). Returns false, with the reason, to keep it from leaving.
  using ImeiGate = std::function<bool(std::string& imei, std::string& reason)>;

  CDeviceRun(IEventLoop& loop, IPort& port, IPortList& ports, CProfile profile, int comNumber, EMode mode,
             CRunTimings timings = {});
  ~CDeviceRun() override;
  CDeviceRun(const CDeviceRun&) = delete;
  CDeviceRun& operator=(const CDeviceRun&) = delete;

  void SetLineSink(LineSink sink) { m_onLine = std::move(sink); }
  // Whether the last line is the run's result. A job says it itself, once the pool has recorded
  // what became of the IMEI.
  void SetResultLine(bool shown) { m_bResultLine = shown; }
  void SetImeiGate(ImeiGate gate) { m_imeiGate = std::move(gate); }
  // Called as each step ends, with what it came to.
  void SetStepHandler(std::function<void(const CStepResult& step)> handler) { m_onStep = std::move(handler); }
  // Called as each step begins: its place in the report's steps, of how many, and its name.
  using StepStartHandler = std::function<void(std::size_t index, std::size_t count, const std::string& name)>;
  void SetStepStartHandler(StepStartHandler handler) { m_onStepStart = std::move(handler); }
  // Called once, from the event loop, when the run is over and the link closed.
  void SetFinishedHandler(std::function<void()> handler) { m_onFinished = std::move(handler); }

  void Start();
  // The user wants out. The step under way ends first (its reply or its timer), so that nothing is
  // left half-done; with `now`, the link closes at once.
  void Stop(bool now);
  bool IsFinished() const { return m_phase == EPhase::Done; }
  const CDeviceReport& Report() const { return m_report; }

 private:
  enum class EPhase { Idle, Connecting, SettlingBefore, Step, Reconnecting, SettlingAfter, Done };
  using Outcomes = std::vector<CCommandOutcome>;

  // The run's course (DeviceRun.cpp).
  bool SelectPort();
  void BeginConnect();
  void OnCommandOutcome(const CCommandOutcome& outcome) override;
  void OnPumped(int tasksRun);
  void ProcessOutcomes();
  void OnOutcome(const CCommandOutcome& outcome);
  void OnLinkClosed();
  void OnBound();
  void StartSettle(EPhase phase);
  void OnSettled();
  void AfterStep();
  void BeginReadBack();
  void MarkRestNotRun(std::size_t from, const std::string& reason);
  void CloseLink();
  void Finish();
  void Emit(const std::string& line);
  void TellStepStarted();
  // Runs a press and hands back what the dialog told while it ran; nothing else hears of it.
  Outcomes Pressed(const std::function<void()>& press);

  // One step: its fields, its press and its verdict (DeviceRunSteps.cpp).
  void BeginStep(std::size_t index);
  void PressStep(ECommand kind);
  void TypeFields(ECommand kind);
  void Press(ECommand kind);
  void CheckWifiRow();
  void JudgeStep(const CCommandOutcome& outcome);
  void KeepSent(const Outcomes& outcomes);
  void Record(EStepStatus status, const std::string& detail, bool linkFault = false);
  void EndStep(EStepStatus status, const std::string& detail, bool linkFault = false);
  bool EarlierStepsSucceeded() const;
  ECommand CurrentKind() const { return m_plan[m_nCurrent]; }
  std::string LinkClosedReason() const;
  void TakeOtherMessages();

  CProfile m_profile;
  int m_nComNumber;
  EMode m_mode;
  CRunTimings m_timings;
  IPort& m_port;
  CMemoryWindow m_window;
  CWindowPump m_loop;
  std::unique_ptr<CMirlSettingsDlg> m_dlg;  // after the window and its loop: it goes first

  std::vector<ECommand> m_plan;  // index 0 is the connection
  CDeviceReport m_report;         // steps[i] belongs to m_plan[i]
  EPhase m_phase = EPhase::Idle;
  std::size_t m_nCurrent = 0;
  bool m_bWaitingForRow = false;
  std::vector<std::string> m_sent;       // as the report keeps them: secrets masked
  std::vector<std::string> m_sentExact;  // as they go to the device
  std::vector<std::string> m_boxes;      // shown since they were last taken into the report
  bool m_bStopRequested = false;
  bool m_bResultLine = true;
  std::string m_strAbort;  // why the run may not go on, once it may not

  Outcomes* m_pPressed = nullptr;  // while a press runs
  std::deque<CCommandOutcome> m_outcomes;
  bool m_bProcessing = false;

  CLoopTimer m_bound;  // the run's own limit on the wait under way
  CLoopTimer m_quiet;
  CLoopTimer m_settleEnd;
  LineSink m_onLine;
  ImeiGate m_imeiGate;
  std::function<void(const CStepResult&)> m_onStep;
  StepStartHandler m_onStepStart;
  std::function<void()> m_onFinished;
};

}  // namespace tolvane
