// One step of a run: what is typed, which button is pressed, and what the dialog says came of it.
#include <algorithm>

#include "dialog/ControlRoutes.h"
#include "engine/DeviceRun.h"
#include "link/SecretMask.h"
#include "res/DialogTemplates.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {

// The language box's item for a device code; the profile holds only codes the device knows.
std::string LanguageItem(const std::string& code) {
  const auto found = std::find(kLanguageCodes.begin(), kLanguageCodes.end(), code);
  return found == kLanguageCodes.end() ? std::string() : kLanguageChoices[static_cast<std::size_t>(found - kLanguageCodes.begin())];
}

// Selects the item with exactly this text, as a person picks it; false when the box has none.
bool PickItem(CMemoryWindow& window, int id, const std::string& item) {
  const auto& items = window.At(id).items;
  const auto found = std::find(items.begin(), items.end(), item);
  if (found == items.end()) return false;
  window.ComboSetCurSel(id, static_cast<int>(found - items.begin()));
  return true;
}

// The row whose column holds exactly this text; -1 when none does.
int FindRow(const CMemoryWindow& window, int id, int column, const std::string& text) {
  for (int row = 0; row < window.ListGetItemCount(id); ++row)
    if (window.ListGetItemText(id, row, column) == text) return row;
  return -1;
}

constexpr int kWifiAddressColumn = 2;

}  // namespace

void CDeviceRun::BeginStep(std::size_t index) {
  m_phase = EPhase::Step;
  m_nCurrent = index;
  m_sent.clear();
  m_sentExact.clear();
  TakeOtherMessages();
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
  TellStepStarted();
  const ECommand kind = CurrentKind();
  // A reset wipes the device: never after something went wrong, when a person would look first.
  if (kind == ECommand::FactoryReset && !EarlierStepsSucceeded()) {
    EndStep(EStepStatus::NotRun, "an earlier step did not succeed");
    return;
  }
  if (kind == ECommand::ConnectWifi) {
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
      m_window.ListSetItemText(IDC_WIFI_LIST, row, kWifiAddressColumn, address);
    }
    m_bound.Start(m_timings.wifiListMs);
    CheckWifiRow();
    return;
  }
  PressStep(kind);
}

void CDeviceRun::CheckWifiRow() {
  const int row = FindRow(m_window, IDC_WIFI_LIST, kWifiAddressColumn, *m_profile.wifiAddress);
  if (row < 0) return;
  m_bWaitingForRow = false;
  m_bound.Stop();
  RouteControlEvent(*m_dlg, IDC_WIFI_LIST, EControlEvent::RowClicked, row);
  PressStep(ECommand::ConnectWifi);
}

void CDeviceRun::PressStep(ECommand kind) {
  const CDeviceCommand& rules = DeviceCommand(kind);
  m_sent.clear();
  m_sentExact.clear();
  TakeOtherMessages();
  TypeFields(kind);
  // A person cannot press a disabled button. A dry run hears no replies, which would bring them back.
  if (m_mode == EMode::Send && !m_window.IsWindowEnabled(rules.button)) {
    EndStep(EStepStatus::Refused, std::string("the window's ") + StepName(kind) + " button is disabled");
    return;
  }
  if (kind == ECommand::WriteImei && m_mode == EMode::Send && m_imeiGate) {
    std::string imei = *m_profile.imei, reason;
    if (!m_imeiGate(imei, reason)) {
      m_strAbort = reason;
      EndStep(EStepStatus::Refused, reason);
      return;
    }
    if (imei != *m_profile.imei) {
      m_profile.imei = imei;
      m_window.SetWindowText(IDC_IMEI, imei);
    }
  }
  const Outcomes outcomes = Pressed([this, kind] { Press(kind); });
  KeepSent(outcomes);
  // The report names the IMEI that left for the device, or none.
  if (kind == ECommand::WriteImei && !m_sent.empty()) m_report.imei = *m_profile.imei;
  for (const CCommandOutcome& outcome : outcomes) {
    // The window's own checks, the "~" refusal among them: nothing was sent.
    if (outcome.outcome == EOutcome::Refused) {
      EndStep(EStepStatus::Refused, outcome.text);
      return;
    }
  }
  if (m_sent.empty()) {
    // Language and network type are not sent again when the device reports the same already.
    if (kind == ECommand::SetLanguage || kind == ECommand::SetNetwork)
      EndStep(EStepStatus::Ok, "the device reports " +
                                   (kind == ECommand::SetLanguage ? *m_profile.language : *m_profile.networkType) +
                                   " already");
    else
      EndStep(EStepStatus::Refused, "the window sends nothing for this value");
    return;
  }
  if (m_mode == EMode::DryRun) {
    EndStep(EStepStatus::Planned, {});
    return;
  }
  m_bound.Start(rules.replyTimer != 0 ? m_timings.windowTimerMs : m_timings.replyMs);
}

void CDeviceRun::TypeFields(ECommand kind) {
  const CProfile& p = m_profile;
  CMemoryWindow& w = m_window;
  switch (kind) {
    case ECommand::WriteImei: w.SetWindowText(IDC_IMEI, *p.imei); break;
    case ECommand::UpdateIp: w.IpSetAddress(IDC_SERVER_IP, *p.serverIp); break;
    case ECommand::UpdateDomain: w.SetWindowText(IDC_DOMAIN, *p.domain); break;
    case ECommand::SetAccount:
      w.SetWindowText(IDC_ACCOUNT, *p.account);
      w.SetWindowText(IDC_ACCOUNT_PASSWORD, p.accountPassword.value_or(""));
      break;
    case ECommand::UpdateDealerPw: w.SetWindowText(IDC_DEALER_PASSWORD, *p.dealerPassword); break;
    case ECommand::SetApn:
      w.SetWindowText(IDC_APN_NAME, *p.apn);
      w.SetWindowText(IDC_APN_USER, p.apnUser.value_or(""));
      w.SetWindowText(IDC_APN_PASSWORD, p.apnPassword.value_or(""));
      break;
    case ECommand::SetLanguage:
      if (PickItem(w, IDC_LANGUAGE, LanguageItem(*p.language)))
        RouteControlEvent(*m_dlg, IDC_LANGUAGE, EControlEvent::SelectionChanged);
      break;
    case ECommand::SetNetwork:
      if (PickItem(w, IDC_NETWORK_TYPE, *p.networkType))
        RouteControlEvent(*m_dlg, IDC_NETWORK_TYPE, EControlEvent::SelectionChanged);
      break;
    case ECommand::ConnectWifi: w.SetWindowText(IDC_WIFI_PASSWORD, p.wifiPassword.value_or("")); break;
    default: break;
  }
}

void CDeviceRun::Press(ECommand kind) {
  // Through the window's own route from the button to its handler, as a click goes.
  RouteControlEvent(*m_dlg, DeviceCommand(kind).button, EControlEvent::Clicked);
}

void CDeviceRun::JudgeStep(const CCommandOutcome& outcome) {
  const ECommand kind = CurrentKind();
  const CDeviceCommand& rules = DeviceCommand(kind);
  if (m_bWaitingForRow || outcome.command != rules.command) return;
  switch (kind) {
    case ECommand::FactoryReset:
      // Whatever the device answers, it closes the link; it does not say whether the reset worked.
      return EndStep(EStepStatus::Ok, "the device answered and closed the link to restart");
    case ECommand::OpenWifi:
      if (m_dlg->IsWifiOn())
        EndStep(EStepStatus::Ok, "Wi-Fi is on");
      else
        EndStep(EStepStatus::Fail, "Wi-Fi stayed off");
      return;
    case ECommand::ConnectWifi:
      if (outcome.outcome == EOutcome::Ok) return EndStep(EStepStatus::Ok, "joined");
      // The window's join timer runs out silently; the request stays outstanding.
      if (outcome.outcome == EOutcome::NoResponse)
        return EndStep(EStepStatus::NoResponse, "no answer before the window's join timer ran out");
      break;
    default: break;
  }
  switch (outcome.outcome) {
    case EOutcome::Ok: return EndStep(EStepStatus::Ok, outcome.text);
    case EOutcome::Fail: return EndStep(EStepStatus::Fail, outcome.text);
    case EOutcome::NoResponse: return EndStep(EStepStatus::NoResponse, outcome.text);
    case EOutcome::Other:
      if (rules.otherAnswerFails) EndStep(EStepStatus::Fail, "the device answered neither ok nor fail");
      return;
    default: return;
  }
}

void CDeviceRun::KeepSent(const Outcomes& outcomes) {
  for (const CCommandOutcome& outcome : outcomes) {
    if (outcome.outcome != EOutcome::Sent) continue;
    m_sent.push_back(MaskCommand(outcome.text));
    m_sentExact.push_back(outcome.text);
  }
}

void CDeviceRun::Record(EStepStatus status, const std::string& detail, bool linkFault) {
  CStepResult& step = m_report.steps[m_nCurrent];
  step.status = status;
  step.detail = detail;
  step.sent = m_sent;
  step.linkFault = linkFault;
  step.messages = std::move(m_boxes);
  m_boxes.clear();
  if (m_mode == EMode::Send) {
    Emit(FormatStepLine(step, false));
    if (m_onStep) m_onStep(step);
    return;
  }
  // A dry run shows the commands exactly; the report it may write keeps its secrets.
  CStepResult shown = step;
  shown.sent = m_sentExact;
  Emit(FormatStepLine(shown, true));
}

void CDeviceRun::EndStep(EStepStatus status, const std::string& detail, bool linkFault) {
  m_bound.Stop();
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
  // The status line's words, for the report only.
  const std::string& status = m_window.StatusText();
  return "the link closed" + (status.empty() ? std::string() : " (" + status + ")");
}

void CDeviceRun::TakeOtherMessages() {
  for (std::string& box : m_boxes) m_report.otherMessages.push_back(std::move(box));
  m_boxes.clear();
}

}  // namespace tolvane
