#include "cli/DeviceRun.h"

#include "cli/DryRunPort.h"
#include "link/SecretMask.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {

std::string Seconds(int milliseconds) { return std::to_string((milliseconds + 999) / 1000) + " s"; }

// The language combo box shows names; the report speaks in the codes the device uses.
std::optional<std::string> LanguageCode(const std::optional<std::string>& shown) {
  if (!shown) return std::nullopt;
  if (*shown == "English") return std::string("en_US");
  if (*shown == "中文简体") return std::string("zh_CN");
  return shown;
}

}  // namespace

CDeviceRun::CDeviceRun(IPort& port, IPortList& ports, CProfile profile, int comNumber, EMode mode, CRunTimings timings)
    : m_profile(std::move(profile)),
      m_nComNumber(comNumber),
      m_mode(mode),
      m_timings(timings),
      m_port(port),
      m_dlg(std::make_unique<CMirlSettingsDlg>(m_window, port, ports)) {
  m_plan.push_back(EStepKind::Connect);
  for (const EStepKind kind : PlanSteps(m_profile)) m_plan.push_back(kind);
  for (const EStepKind kind : m_plan) {
    m_report.steps.emplace_back();
    m_report.steps.back().name = StepName(kind);
  }
  m_report.imei = m_profile.imei.value_or("");
  m_report.before.note = m_report.after.note = "the link did not open";

  for (QTimer* timer : {&m_bound, &m_quiet, &m_settleEnd}) {
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
  }
  QObject::connect(&m_bound, &QTimer::timeout, [this] { OnBound(); });
  QObject::connect(&m_quiet, &QTimer::timeout, [this] { OnSettled(); });
  QObject::connect(&m_settleEnd, &QTimer::timeout, [this] { OnSettled(); });
  m_window.SetTimerHandler([this](int id) { m_dlg->OnTimer(id); });
  m_window.SetChangeHandler([this] { OnChange(); });
  m_dlg->SetCommandObserver([this](const std::string& command) {
    m_sent.push_back(MaskCommand(command));
    m_sentExact.push_back(command);
  });
}

CDeviceRun::~CDeviceRun() {
  m_dlg->OnDestroy();
  m_dlg.reset();
}

void CDeviceRun::Emit(const std::string& line) {
  if (m_onLine) m_onLine(line);
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
      m_dlg->OnSelchangePort();
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
  m_nBoxesAtPress = m_window.MessageBoxes().size();
  m_window.ForgetDeviceShown();
  m_dlg->OnConnect();
  const auto& boxes = m_window.MessageBoxes();
  if (boxes.size() > m_nBoxesAtPress || !m_dlg->IsRunning()) {
    // The open failed; the box says why, as the window would.
    Record(EStepStatus::Fail, boxes.size() > m_nBoxesAtPress ? boxes.back() : "the port did not open", true);
    AfterStep();
    return;
  }
  if (m_mode == EMode::DryRun) {
    // No device answers a dry run: it goes on as if one had.
    m_dlg->HandleDeviceMessage("COM:open");
    m_report.before.note = m_report.after.note = "dry run";
    Record(EStepStatus::Planned, {});
    BeginStep(1);
    return;
  }
  m_bound.start(m_timings.connectMs);
}

void CDeviceRun::OnChange() {
  switch (m_phase) {
    case EPhase::Connecting:
      if (m_dlg->IsDeviceReady()) {
        Record(EStepStatus::Ok, {});
        StartSettle(EPhase::SettlingBefore);
      } else if (!m_dlg->IsRunning()) {
        EndStep(EStepStatus::Fail, LinkClosedReason(), true);
      }
      return;
    case EPhase::Reconnecting:
      if (m_dlg->IsDeviceReady()) {
        StartSettle(EPhase::SettlingAfter);
      } else if (!m_dlg->IsRunning()) {
        m_report.after.note = LinkClosedReason();
        Finish();
      }
      return;
    case EPhase::SettlingBefore:
    case EPhase::SettlingAfter:
      if (!m_dlg->IsRunning()) {
        (m_phase == EPhase::SettlingBefore ? m_report.before : m_report.after).note = LinkClosedReason();
        MarkRestNotRun(m_nCurrent + 1, LinkClosedReason());
        Finish();
      } else {
        m_quiet.start(m_timings.quietMs);
      }
      return;
    case EPhase::Step: JudgeStep(); return;
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
                    Seconds(RulesOf(CurrentKind()).replyTimer ? m_timings.windowTimerMs : m_timings.replyMs));
      return;
    default: return;
  }
}

void CDeviceRun::StartSettle(EPhase phase) {
  m_bound.stop();
  m_phase = phase;
  m_quiet.start(m_timings.quietMs);
  m_settleEnd.start(m_timings.settleMs);
}

void CDeviceRun::OnSettled() {
  if (m_phase != EPhase::SettlingBefore && m_phase != EPhase::SettlingAfter) return;
  m_quiet.stop();
  m_settleEnd.stop();
  CDeviceReadout readout;
  readout.read = true;
  readout.imei = m_window.DeviceShown(IDC_IMEI);
  readout.ip = m_window.DeviceShown(IDC_SERVER_IP);
  readout.language = LanguageCode(m_window.DeviceShown(IDC_LANGUAGE));
  readout.networkType = m_window.DeviceShown(IDC_NETWORK_TYPE);
  if (m_phase == EPhase::SettlingBefore) {
    m_report.before = readout;
    Emit(FormatReadout("Before", readout));
    BeginStep(1);
  } else {
    m_report.after = readout;
    Emit(FormatReadout("After", readout));
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
  if (CurrentKind() == EStepKind::FactoryReset && succeeded) {
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
  m_dlg->OnConnect();
  m_window.ForgetDeviceShown();
  const std::size_t boxes = m_window.MessageBoxes().size();
  m_dlg->OnConnect();
  if (m_window.MessageBoxes().size() > boxes || !m_dlg->IsRunning()) {
    m_report.after.note = m_window.MessageBoxes().size() > boxes ? m_window.MessageBoxes().back() : "no link";
    Finish();
    return;
  }
  m_bound.start(m_timings.connectMs);
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
  m_dlg->OnConnect();  // the Close button
  auto* dryPort = dynamic_cast<CDryRunPort*>(&m_port);
  if (m_mode != EMode::DryRun || !dryPort) return;
  // The one command that is not queued: the link's closing word goes to the port directly.
  const auto writes = dryPort->Writes();
  CStepResult close;
  close.name = "Close";
  close.status = EStepStatus::Planned;
  if (!writes.empty()) close.sent.push_back(writes.back());
  Emit(FormatStepLine(close, true));
  m_report.steps.push_back(close);
}

void CDeviceRun::Finish() {
  if (m_phase == EPhase::Done) return;
  m_bound.stop();
  m_quiet.stop();
  m_settleEnd.stop();
  CloseLink();
  m_phase = EPhase::Done;
  TakeOtherMessages();
  if (m_mode == EMode::Send) Emit(FormatDeviceResult(m_report));
  if (m_onFinished) m_onFinished();
}

}  // namespace tolvane
