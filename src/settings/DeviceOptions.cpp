#include <algorithm>

#include "res/DialogTemplates.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {

// The combo boxes' items, in their (sorted) order.
constexpr int kChineseItem = 1;
constexpr int k2gItem = 0;
constexpr int k3gItem = 1;
constexpr int k3g2gItem = 2;

// Whatever the box holds that is not English goes as Chinese, the only other choice.
std::string LanguageCode(const std::string& comboText) {
  for (std::size_t item = 0; item < kLanguageChoices.size(); ++item)
    if (comboText == kLanguageChoices[item]) return kLanguageCodes[item];
  return kLanguageCodes[kChineseItem];
}

std::string NetworkTypeCode(const std::string& comboText) {
  if (comboText == "3G/2G" || comboText == "3G") return comboText;
  return "2G";
}

}  // namespace

void CMirlSettingsDlg::OnSetLanguage() {
  const std::string text = m_cbLanguage.GetWindowText();
  if (text == m_strLanguage) return;
  // Remembered as sent, before the device answers: a refused text is not sent again.
  m_strLanguage = text;
  SendCommand(ECommand::SetLanguage, "LANGUAGE:" + LanguageCode(text));
  m_btnSetLanguage.EnableWindow(false);
}

void CMirlSettingsDlg::OnSetNetwork() {
  const std::string text = m_cbNetworkType.GetWindowText();
  if (text == m_strNetworkType) return;
  m_strNetworkType = text;
  SendCommand(ECommand::SetNetwork, "NETWORK_TYPE:" + NetworkTypeCode(text));
  m_btnSetNetwork.EnableWindow(false);
}

void CMirlSettingsDlg::OnFactoryReset() {
  SendCommand(ECommand::FactoryReset, "FACTORY_RESET:reboot");
  m_btnFactoryReset.EnableWindow(false);
}

// Picking an item sends nothing; only the Set buttons do.
void CMirlSettingsDlg::OnSelchangeLanguage() { m_cbLanguage.SetCurSel(m_cbLanguage.GetCurSel()); }
void CMirlSettingsDlg::OnSelchangeNetworkType() { m_cbNetworkType.SetCurSel(m_cbNetworkType.GetCurSel()); }

// Any message with the key gives the button back, whatever its value. Only ok and fail settle the
// press; a report says what the device holds and settles nothing.
void CMirlSettingsDlg::OnLanguageReply(const std::string& value) {
  EnableAfterReply(m_btnSetLanguage);
  const auto code = std::find(kLanguageCodes.begin(), kLanguageCodes.end(), value);
  if (code != kLanguageCodes.end()) {
    const auto item = static_cast<std::size_t>(code - kLanguageCodes.begin());
    m_strLanguage = kLanguageChoices[item];
    m_cbLanguage.SetCurSel(static_cast<int>(item));
    m_reported.language = value;
  } else if (value == "ok") {
    ShowSettled(ECommand::SetLanguage, EOutcome::Ok, IDS_SET_LANGUAGE_OK);
  } else if (value == "fail") {
    ShowSettled(ECommand::SetLanguage, EOutcome::Fail, IDS_SET_LANGUAGE_FAIL);
  }
}

void CMirlSettingsDlg::OnNetworkTypeReply(const std::string& value) {
  EnableAfterReply(m_btnSetNetwork);
  if (value == "3G/2G") {
    m_strNetworkType = value;
    m_reported.networkType = value;
    m_cbNetworkType.SetCurSel(k3g2gItem);
  } else if (value == "3G") {
    m_strNetworkType = value;
    m_reported.networkType = value;
    m_cbNetworkType.SetCurSel(k3gItem);
  } else if (value == "2G") {
    m_strNetworkType = value;
    m_reported.networkType = value;
    m_cbNetworkType.SetCurSel(k2gItem);
  } else if (value == "ok") {
    ShowSettled(ECommand::SetNetwork, EOutcome::Ok, IDS_SET_NETWORK_OK);
  } else if (value == "fail") {
    ShowSettled(ECommand::SetNetwork, EOutcome::Fail, IDS_SET_NETWORK_FAIL);
  }
}

// Whatever the value, the device is going down: close as Close does.
void CMirlSettingsDlg::OnFactoryResetReply(const std::string& value) {
  if (value == "ok")
    Settle(ECommand::FactoryReset, EOutcome::Ok);
  else if (value == "fail")
    Settle(ECommand::FactoryReset, EOutcome::Fail);
  else
    Settle(ECommand::FactoryReset, EOutcome::Other, value);
  ClosePort();
}

}  // namespace tolvane
