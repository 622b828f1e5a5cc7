#include "engine/DeviceRun.h"

#include <algorithm>

#include "dialog/ControlRoutes.h"
#include "engine/ReadBack.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {

std::string Seconds(int milliseconds) { return std::to_string((milliseconds + 999) / 1000) + " s"; }

const CCommandOutcome* FindOutcome(const std::vector<CCommandOutcome>& outcomes, ECommand command, EOutcome outcome) {
  const auto found = std::find_if(outcomes.begin(), outcomes.end(), [&](const CCommandOutcome& told) {
    return told.command == command && told.outcome == outcome;
  });
  return found == outcomes.end() ? nullptr : &*found;
}

}  // namespace

CDeviceRun::CDeviceRun(IEventLoop& loop, IPort& port, IPortList& ports, CProfile profile, int comNumber, EMode mode,
                       CRunTimings timings)
    : m_profile(std::move(profile)),
      m_nComNumber(comNumber),
      m_mode(mode),
      m_timings(timings),
      m_port(port),
      m_loop(m_window, loop),
      m_dlg(std::make_unique<CMirlSettingsDlg>(m_window, port, ports)),
      m_bound(loop, [this] { OnBound(); }),
      m_quiet(loop, [this] { OnSettled(); }),
      m_settleEnd(loop, [this] { OnSettled(); }) {
  m_plan.push_back(ECommand::Connect);
  for (const ECommand kind : PlanSteps(m_profile)) m_plan.push_back(kind);
  for (const ECommand kind : m_plan) {
    m_report.steps.emplace_back();
    m_report.steps.back().name = StepName(kind);
  }
  m_report.steps.front().opensLink = true;
  m_report.before.note = m_report.after.note = "the link did not open";

  m_window.SetTimerHandler([this](int id) { m_dlg->OnTimer(id); });
  // Kept for the report's text only; what a step came to is what the dialog tells.
  m_window.SetMessageBoxHook([this](const std::string& text) { m_boxes.push_back(text); });
  m_loop.SetPumpedHandler([this](int tasksRun) { OnPumped(tasksRun); });
  m_dlg->SetCommandObserver(this);
}

CDeviceRun::~CDeviceRun() {
  m_dlg->SetCommandObserver(nullptr);
  m_dlg->OnDestroy();
  m_dlg.reset();
}

void CDeviceRun::Emit(const std::string& line) {
  if (m_onLine) m_onLine(line);
}

void CDeviceRun::TellStepStarted() {
  if (m_onStepStart) m_onStepStart(m_nCurrent, m_plan.size(), m_report.steps[m_nCurrent].name);
}

void CDeviceRun::Start() {
  m_dlg->OnInitDialog();
  if (!SelectPort()) {
    Record(EStepStatus::Fail, "COM" + std::to_string(m_nComNumber) + " is not in the port list", true);
    AfterStep();
    return;
  }
  BeginConnect();
}

bool CDeviceRun::SelectPort() {
  const std::string number = "COM" + std::to_string(m_nComNumber);
  for (int index = 0; index < m_window.ComboGetCount(IDC_PORT); ++index) {
    m_window.ComboSetCurSel(IDC_PORT, index);
    const std::string caption = m_window.GetWindowText(IDC_PORT);
    if (caption == number || caption.starts_with(number + " (")) {
      RouteControlEvent(*m_dlg, IDC_PORT, EControlEvent::SelectionChanged);
      m_report.port = caption;
      return true;
    }
  }
  m_report.port = number;
  return false;
}

void CDeviceRun::BeginConnect() {
  m_phase = EPhase::Connecting;
  m_nCurrent = 0;
  m_sent.clear();
  m_sentExact.clear();
  TellStepStarted();
  const Outcomes outcomes = Pressed([this] { RouteControlEvent(*m_dlg, IDC_CONNECT, EControlEvent::Clicked); });
  KeepSent(outcomes);
  if (const CCommandOutcome* failed = FindOutcome(outcomes, ECommand::Connect, EOutcome::Fail)) {
    // The port would not open; the window's message says why.
    Record(EStepStatus::Fail, failed->text, true);
    AfterStep();
    return;
  }
  if (m_sent.empty()) {
    Record(EStepStatus::Fail, "the port did not open", true);
    AfterStep();
    return;
  }
  if (m_mode == EMode::DryRun) {
    // Nothing answers a dry run, and nothing needs to: the presses build their commands all the same.
    m_report.before.note = m_report.after.note = "dry run";
    Record(EStepStatus::Planned, {});
    BeginStep(1);
    return;
  }
  m_bound.Start(m_timings.connectMs);
}

CDeviceRun::Outcomes CDeviceRun::Pressed(const std::function<void()>& press) {
  m_loop.CatchUp();
  Outcomes outcomes;
  m_pPressed = &outcomes;
  press();
  m_pPressed = nullptr;
  return outcomes;
}

void CDeviceRun::OnCommandOutcome(const CCommandOutcome& outcome) {
  if (m_pPressed) {
    m_pPressed->push_back(outcome);
    return;
  }
  // Heard inside a handler: acted on from the loop, once the handler has returned.
  m_outcomes.push_back(outcome);
  m_loop.Wake();
}

void CDeviceRun::OnPumped(int tasksRun) {
  if (tasksRun > 0 && (m_phase == EPhase::SettlingBefore || m_phase == EPhase::SettlingAfter))
    m_quiet.Start(m_timings.quietMs);
  ProcessOutcomes();
  if (m_phase == EPhase::Step && m_bWaitingForRow) CheckWifiRow();
}

void CDeviceRun::ProcessOutcomes() {
  // A step that ends here may start the next, whose outcomes join the queue behind the rest.
  if (m_bProcessing) return;
  m_bProcessing = true;
  while (!m_outcomes.empty() && m_phase != EPhase::Done) {
    const CCommandOutcome outcome = m_outcomes.front();
    m_outcomes.pop_front();
    OnOutcome(outcome);
  }
  m_outcomes.clear();
  m_bProcessing = false;
}

void CDeviceRun::OnOutcome(const CCommandOutcome& outcome) {
  if (outcome.outcome == EOutcome::LinkClosed) {
    OnLinkClosed();
    return;
  }
  const bool ready = outcome.command == ECommand::Connect && outcome.outcome == EOutcome::Ok;
  switch (m_phase) {
    case EPhase::Connecting:
      if (ready) {
        Record(EStepStatus::Ok, {});
        StartSettle(EPhase::SettlingBefore);
      }
      return;
    case EPhase::Reconnecting:
      if (ready) StartSettle(EPhase::SettlingAfter);
      return;
    case EPhase::Step: JudgeStep(outcome); return;
    default: return;
  }
}

void CDeviceRun::OnLinkClosed() {
  switch (m_phase) {
    case EPhase::Connecting: EndStep(EStepStatus::Fail, LinkClosedReason(), true); return;
    case EPhase::Reconnecting:
      m_report.after.note = LinkClosedReason();
      Finish();
      return;
    case EPhase::SettlingBefore:
    case EPhase::SettlingAfter:
      (m_phase == EPhase::SettlingBefore ? m_report.before : m_report.after).note = LinkClosedReason();
      MarkRestNotRun(m_nCurrent + 1, LinkClosedReason());
      Finish();
      return;
    case EPhase::Step:
      // Whatever the device answers, a reset closes the link; it does not say whether it worked.
      if (CurrentKind() == ECommand::FactoryReset && !m_sent.empty())
        EndStep(EStepStatus::Ok, "the device answered and closed the link to restart");
      else
        EndStep(EStepStatus::Fail, LinkClosedReason(), true);
      return;
    case EPhase::Idle:
    case EPhase::Done: return;
  }
}

void CDeviceRun::OnBound() {
  switch (m_phase) {
    case EPhase::Connecting:
      EndStep(EStepStatus::NoResponse, "the device did not answer COM:open within " + Seconds(m_timings.connectMs),
              true);
      return;
    case EPhase::Reconnecting:
      m_report.after.note = "the device did not answer COM:open within " + Seconds(m_timings.connectMs);
      Finish();
      return;
    case EPhase::Step:
      if (m_bWaitingForRow)
        EndStep(EStepStatus::Fail, "the device lists no Wi-Fi network " + m_profile.wifiAddress.value_or(""));
      else
        EndStep(EStepStatus::NoResponse,
                "no reply within " +
                    Seconds(DeviceCommand(CurrentKind()).replyTimer != 0 ? m_timings.windowTimerMs : m_timings.replyMs));
      return;
    default: return;
  }
}

void CDeviceRun::StartSettle(EPhase phase) {
  m_bound.Stop();
  m_phase = phase;
  m_quiet.Start(m_timings.quietMs);
  m_settleEnd.Start(m_timings.settleMs);
}

void CDeviceRun::OnSettled() {
  if (m_phase != EPhase::SettlingBefore && m_phase != EPhase::SettlingAfter) return;
  m_quiet.Stop();
  m_settleEnd.Stop();
  const CReportedSettings& reported = m_dlg->GetReportedSettings();
  CDeviceReadout readout;
  readout.read = true;
  readout.imei = reported.imei;
  readout.ip = reported.serverIp;
  readout.language = reported.language;
  readout.networkType = reported.networkType;
  if (m_phase == EPhase::SettlingBefore) {
    m_report.before = readout;
    Emit(FormatReadout("Before", readout));
    BeginStep(1);
  } else {
    m_report.after = readout;
    Emit(FormatReadout("After", readout));
    if (std::optional<CStepResult> verify = VerifyReadBack(m_profile, m_report)) {
      Emit(FormatStepLine(*verify, false));
      m_report.steps.push_back(std::move(*verify));
    }
    Finish();
  }
}

void CDeviceRun::AfterStep() {
  if (m_phase == EPhase::Done) return;
  const EStepStatus status = m_report.steps[m_nCurrent].status;
  const bool succeeded = status == EStepStatus::Ok || status == EStepStatus::Planned;
  if (m_dlg->IsRunning() && (m_nCurrent > 0 || succeeded)) {
    BeginStep(m_nCurrent + 1);
    return;
  }
  if (CurrentKind() == ECommand::FactoryReset && succeeded) {
    m_report.after.note = "the device restarts after a factory reset";
  } else {
    const std::string reason = m_nCurrent == 0 ? "the link did not open" : "the link closed";
    m_report.after.note = reason;
    MarkRestNotRun(m_nCurrent + 1, reason);
  }
  Finish();
}

void CDeviceRun::BeginReadBack() {
  if (m_mode == EMode::DryRun || m_bStopRequested || !m_dlg->IsRunning()) {
    if (m_bStopRequested) m_report.after.note = "stopped by the user";
    Finish();
    return;
  }
  // What the device holds now, as it reports itself to a link that opens again.
  m_phase = EPhase::Reconnecting;
  const Outcomes outcomes = Pressed([this] {
    m_dlg->ClosePort();
    RouteControlEvent(*m_dlg, IDC_CONNECT, EControlEvent::Clicked);
  });
  if (const CCommandOutcome* failed = FindOutcome(outcomes, ECommand::Connect, EOutcome::Fail)) {
    m_report.after.note = failed->text;
    Finish();
    return;
  }
  if (!FindOutcome(outcomes, ECommand::Connect, EOutcome::Sent)) {
    m_report.after.note = "no link";
    Finish();
    return;
  }
  m_bound.Start(m_timings.connectMs);
}

void CDeviceRun::MarkRestNotRun(std::size_t from, const std::string& reason) {
  for (std::size_t index = from; index < m_report.steps.size(); ++index) {
    CStepResult& step = m_report.steps[index];
    if (step.status != EStepStatus::NotRun) continue;
    step.detail = reason;
    Emit(FormatStepLine(step, m_mode == EMode::DryRun));
  }
}

void CDeviceRun::Stop(bool now) {
  if (m_phase == EPhase::Done || m_phase == EPhase::Idle) return;
  m_bStopRequested = true;
  m_report.interrupted = true;
  const std::string reason = "stopped by the user";
  switch (m_phase) {
    case EPhase::Step:
      if (m_bWaitingForRow) {
        MarkRestNotRun(m_nCurrent, reason);
        break;
      }
      // The step under way ends first (its reply or its timer), so that nothing is left half-done.
      if (!now) return;
      Record(EStepStatus::Interrupted, "stopped by the user before the reply came");
      MarkRestNotRun(m_nCurrent + 1, reason);
      break;
    case EPhase::Connecting:
      Record(EStepStatus::Interrupted, "stopped by the user before the device answered");
      [[fallthrough]];
    case EPhase::SettlingBefore:
      m_report.before.note = reason;
      MarkRestNotRun(1, reason);
      break;
    default: break;  // reading back what the device holds
  }
  m_report.after.note = reason;
  Finish();
}

void CDeviceRun::CloseLink() {
  if (!m_dlg->IsRunning() && !m_port.IsOpen()) return;
  const Outcomes outcomes = Pressed([this] { m_dlg->ClosePort(); });
  if (m_mode != EMode::DryRun) return;
  // The one command that is not queued: the link's closing word.
  CStepResult close;
  close.name = "Close";
  close.status = EStepStatus::Planned;
  if (const CCommandOutcome* sent = FindOutcome(outcomes, ECommand::ClosePort, EOutcome::Sent))
    close.sent.push_back(sent->text);
  Emit(FormatStepLine(close, true));
  m_report.steps.push_back(close);
}

void CDeviceRun::Finish() {
  if (m_phase == EPhase::Done) return;
  m_bound.Stop();
  m_quiet.Stop();
  m_settleEnd.Stop();
  CloseLink();
  m_phase = EPhase::Done;
  TakeOtherMessages();
  if (m_mode == EMode::Send && m_bResultLine) Emit(FormatDeviceResult(m_report));
  if (m_onFinished) m_onFinished();
}

}  // namespace tolvane
