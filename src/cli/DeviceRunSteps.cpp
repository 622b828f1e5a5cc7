// One step of a run: what is typed, which button is pressed, and how the window shows the answer.
#include "cli/DeviceRun.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {

std::string LanguageItem(const std::string& code) { return code == "en_US" ? "English" : "中文简体"; }

}  // namespace

void CDeviceRun::BeginStep(std::size_t index) {
  m_phase = EPhase::Step;
  m_nCurrent = index;
  m_sent.clear();
  m_sentExact.clear();
  TakeOtherMessages();
  m_nBoxesAtPress = m_window.MessageBoxes().size();
  if (index >= m_plan.size()) {
    BeginReadBack();
    return;
  }
  if (m_bStopRequested || !m_strAbort.empty()) {
    MarkRestNotRun(index, m_bStopRequested ? "stopped by the user" : m_strAbort);
    if (m_bStopRequested) m_report.after.note = "stopped by the user";
    Finish();
    return;
  }
  const EStepKind kind = CurrentKind();
  // A reset wipes the device: never after something went wrong, when a person would look first.
  if (kind == EStepKind::FactoryReset && !EarlierStepsSucceeded()) {
    EndStep(EStepStatus::NotRun, "an earlier step did not succeed");
    return;
  }
  if (kind == EStepKind::JoinWifi) {
    const EStepStatus opened = m_report.steps[index - 1].status;
    if (opened != EStepStatus::Ok && opened != EStepStatus::Planned) {
      EndStep(EStepStatus::NotRun, "Wi-Fi did not open");
      return;
    }
    // The network must be in the device's list before it can be picked.
    m_bWaitingForRow = true;
    if (m_mode == EMode::DryRun) {
      // Nothing is listed in a dry run: the network is taken as listed.
      const std::string& address = *m_profile.wifiAddress;
      const int row = m_window.ListInsertItem(IDC_WIFI_LIST, m_window.ListGetItemCount(IDC_WIFI_LIST), "", 0);
      m_window.ListSetItemText(IDC_WIFI_LIST, row, 1, address);
      m_window.ListSetItemText(IDC_WIFI_LIST, row, 2, address);
    }
    m_bound.start(m_timings.wifiListMs);
    CheckWifiRow();
    return;
  }
  PressStep(kind);
}

void CDeviceRun::CheckWifiRow() {
  const int row = m_window.FindRow(IDC_WIFI_LIST, 2, *m_profile.wifiAddress);
  if (row < 0) {
    if (!m_dlg->IsRunning()) EndStep(EStepStatus::Fail, LinkClosedReason(), true);
    return;
  }
  m_bWaitingForRow = false;
  m_bound.stop();
  m_dlg->OnClickWifiList(row);
  PressStep(EStepKind::JoinWifi);
}

void CDeviceRun::PressStep(EStepKind kind) {
  const CStepRules& rules = RulesOf(kind);
  m_sent.clear();
  m_sentExact.clear();
  m_nBoxesAtPress = m_window.MessageBoxes().size();
  m_nWifiExpiriesAtPress = m_window.TimerExpiries(TIMER_WIFI_CONNECT);
  TypeFields(kind);
  // A person cannot press a disabled button. A dry run hears no replies, which would bring them back.
  if (m_mode == EMode::Send && !m_window.IsWindowEnabled(rules.button)) {
    EndStep(EStepStatus::Refused, std::string("the window's ") + StepName(kind) + " button is disabled");
    return;
  }
  if (kind == EStepKind::WriteImei && m_mode == EMode::Send && m_imeiGate) {
    std::string imei = *m_profile.imei, reason;
    if (!m_imeiGate(imei, reason)) {
      m_strAbort = reason;
      EndStep(EStepStatus::Refused, reason);
      return;
    }
    if (imei != *m_profile.imei) {
      Emit("  IMEI " + *m_profile.imei + " was taken by another run meanwhile: this device gets " + imei);
      m_profile.imei = m_report.imei = imei;
      m_window.Type(IDC_IMEI, imei);
    }
  }
  Press(kind);
  const auto& boxes = m_window.MessageBoxes();
  if (boxes.size() > m_nBoxesAtPress) {
    // The window's own checks, the "~" refusal among them: nothing was sent.
    EndStep(EStepStatus::Refused, boxes.back());
    return;
  }
  if (m_sent.empty()) {
    // Language and network type are not sent again when the device reports the same already.
    if (kind == EStepKind::SetLanguage || kind == EStepKind::SetNetwork)
      EndStep(EStepStatus::Ok, "the device reports " +
                                   (kind == EStepKind::SetLanguage ? *m_profile.language : *m_profile.networkType) +
                                   " already");
    else
      EndStep(EStepStatus::Refused, "the window sends nothing for this value");
    return;
  }
  if (m_mode == EMode::DryRun) {
    EndStep(EStepStatus::Planned, {});
    return;
  }
  m_bound.start(rules.replyTimer ? m_timings.windowTimerMs : m_timings.replyMs);
}

void CDeviceRun::TypeFields(EStepKind kind) {
  const CProfile& p = m_profile;
  switch (kind) {
    case EStepKind::WriteImei: m_window.Type(IDC_IMEI, *p.imei); break;
    case EStepKind::UpdateIp: m_window.IpSetAddress(IDC_SERVER_IP, *p.serverIp); break;
    case EStepKind::UpdateDomain: m_window.Type(IDC_DOMAIN, *p.domain); break;
    case EStepKind::SetAccount:
      m_window.Type(IDC_ACCOUNT, *p.account);
      m_window.Type(IDC_ACCOUNT_PASSWORD, p.accountPassword.value_or(""));
      break;
    case EStepKind::UpdateDealerPw: m_window.Type(IDC_DEALER_PASSWORD, *p.dealerPassword); break;
    case EStepKind::SetApn:
      m_window.Type(IDC_APN_NAME, *p.apn);
      m_window.Type(IDC_APN_USER, p.apnUser.value_or(""));
      m_window.Type(IDC_APN_PASSWORD, p.apnPassword.value_or(""));
      break;
    case EStepKind::SetLanguage:
      if (m_window.PickItem(IDC_LANGUAGE, LanguageItem(*p.language))) m_dlg->OnSelchangeLanguage();
      break;
    case EStepKind::SetNetwork:
      if (m_window.PickItem(IDC_NETWORK_TYPE, *p.networkType)) m_dlg->OnSelchangeNetworkType();
      break;
    case EStepKind::JoinWifi: m_window.Type(IDC_WIFI_PASSWORD, p.wifiPassword.value_or("")); break;
    default: break;
  }
}

void CDeviceRun::Press(EStepKind kind) {
  CMirlSettingsDlg& dlg = *m_dlg;
  switch (kind) {
    case EStepKind::WriteImei: dlg.OnWriteImei(); break;
    case EStepKind::UpdateIp: dlg.OnUpdateIp(); break;
    case EStepKind::UpdateDomain: dlg.OnUpdateDomain(); break;
    case EStepKind::SetAccount: dlg.OnSetAccount(); break;
    case EStepKind::UpdateDealerPw: dlg.OnUpdateDealerPw(); break;
    case EStepKind::SetApn: dlg.OnSetApn(); break;
    case EStepKind::ClearApn: dlg.OnClearApn(); break;
    case EStepKind::SetLanguage: dlg.OnSetLanguage(); break;
    case EStepKind::SetNetwork: dlg.OnSetNetwork(); break;
    case EStepKind::OpenWifi: dlg.OnOpenWifi(); break;
    case EStepKind::JoinWifi: dlg.OnConnectWifi(); break;
    case EStepKind::FactoryReset: dlg.OnFactoryReset(); break;
    case EStepKind::Connect: dlg.OnConnect(); break;
  }
}

void CDeviceRun::JudgeStep() {
  if (m_bWaitingForRow) {
    CheckWifiRow();
    return;
  }
  const EStepKind kind = CurrentKind();
  const CStepRules& rules = RulesOf(kind);
  const auto& boxes = m_window.MessageBoxes();
  for (std::size_t index = m_nBoxesAtPress; index < boxes.size(); ++index) {
    const std::string& box = boxes[index];
    if (rules.okText && box == LoadString(rules.okText)) return EndStep(EStepStatus::Ok, box);
    if (rules.failText && box == LoadString(rules.failText)) return EndStep(EStepStatus::Fail, box);
    if (rules.replyTimer && box == LoadString(IDS_NO_RESPONSE)) return EndStep(EStepStatus::NoResponse, box);
  }
  if (kind == EStepKind::FactoryReset) {
    // Whatever the device answers, it closes the link; it does not say whether the reset worked.
    if (!m_dlg->IsRunning()) EndStep(EStepStatus::Ok, "the device answered and closed the link to restart");
    return;
  }
  if (!m_dlg->IsRunning()) return EndStep(EStepStatus::Fail, LinkClosedReason(), true);
  if (kind == EStepKind::OpenWifi) {
    if (!m_window.IsWindowEnabled(IDC_WIFI_OPEN)) return;
    if (m_window.GetWindowText(IDC_WIFI_OPEN) == LoadString(IDS_CLOSE_WIFI))
      EndStep(EStepStatus::Ok, "Wi-Fi is on");
    else
      EndStep(EStepStatus::Fail, "Wi-Fi stayed off");
    return;
  }
  if (kind == EStepKind::JoinWifi) {
    // The window's join timer runs out silently; the request stays outstanding.
    if (m_window.TimerExpiries(TIMER_WIFI_CONNECT) > m_nWifiExpiriesAtPress)
      EndStep(EStepStatus::NoResponse, "no answer before the window's join timer ran out");
    else if (!m_dlg->IsWifiConnecting())
      EndStep(EStepStatus::Ok, "joined");
    return;
  }
  if (rules.bareEnableEnds && m_window.IsWindowEnabled(rules.button))
    EndStep(EStepStatus::Fail, "the device answered neither ok nor fail");
}

void CDeviceRun::Record(EStepStatus status, const std::string& detail, bool linkFault) {
  CStepResult& step = m_report.steps[m_nCurrent];
  step.status = status;
  step.detail = detail;
  step.sent = m_sent;
  step.linkFault = linkFault;
  const auto& boxes = m_window.MessageBoxes();
  step.messages.assign(boxes.begin() + static_cast<std::ptrdiff_t>(std::min(m_nBoxesAtPress, boxes.size())),
                       boxes.end());
  m_nBoxesAccounted = boxes.size();
  if (m_mode == EMode::Send) {
    Emit(FormatStepLine(step, false));
    return;
  }
  // A dry run shows the commands exactly; the report it may write keeps its secrets.
  CStepResult shown = step;
  shown.sent = m_sentExact;
  Emit(FormatStepLine(shown, true));
}

void CDeviceRun::EndStep(EStepStatus status, const std::string& detail, bool linkFault) {
  m_bound.stop();
  m_bWaitingForRow = false;
  Record(status, detail, linkFault);
  AfterStep();
}

bool CDeviceRun::EarlierStepsSucceeded() const {
  for (std::size_t index = 0; index < m_nCurrent; ++index) {
    const EStepStatus status = m_report.steps[index].status;
    if (status != EStepStatus::Ok && status != EStepStatus::Planned) return false;
  }
  return true;
}

std::string CDeviceRun::LinkClosedReason() const {
  const std::string& status = m_window.StatusText();
  return "the link closed" + (status.empty() ? std::string() : " (" + status + ")");
}

void CDeviceRun::TakeOtherMessages() {
  const auto& boxes = m_window.MessageBoxes();
  for (std::size_t index = m_nBoxesAccounted; index < boxes.size(); ++index)
    m_report.otherMessages.push_back(boxes[index]);
  m_nBoxesAccounted = boxes.size();
}

}  // namespace tolvane
