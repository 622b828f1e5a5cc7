#include <cstdint>
#include <string_view>

#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {

constexpr int kUpdateIpTimeoutMs = 6000;
constexpr int kUpdateDomainTimeoutMs = 6000;

std::string FormatAddress(std::uint32_t address) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (!text.empty()) text += '.';
    text += std::to_string((address >> shift) & 0xFFu);
  }
  return text;
}

// One part of a reported address read as atoi reads it (blanks, a sign, digits up to the first
// other character), keeping the low 8 bits. The arithmetic is modulo 256 throughout, so a long
// run of digits cannot overflow and still gives the low 8 bits of its value.
std::uint32_t AddressByte(std::string_view part) {
  std::size_t at = part.find_first_not_of(" \t\n\v\f\r");
  if (at == std::string_view::npos) return 0;
  bool bNegative = false;
  if (part[at] == '+' || part[at] == '-') bNegative = part[at++] == '-';
  std::uint32_t value = 0;
  for (; at < part.size() && part[at] >= '0' && part[at] <= '9'; ++at)
    value = (value * 10 + static_cast<std::uint32_t>(part[at] - '0')) & 0xFFu;
  return (bNegative ? 0u - value : value) & 0xFFu;
}

// Three cuts at "."; the rest after the third is the fourth part. False with fewer than three dots.
bool ParseAddressReport(std::string_view value, std::uint32_t& address) {
  std::uint32_t result = 0;
  for (int part = 0; part < 3; ++part) {
    const std::size_t dot = value.find('.');
    if (dot == std::string_view::npos) return false;
    result = (result << 8) | AddressByte(value.substr(0, dot));
    value.remove_prefix(dot + 1);
  }
  address = (result << 8) | AddressByte(value);
  return true;
}

}  // namespace

void CMirlSettingsDlg::OnUpdateIp() {
  if (m_ipServer.IsBlank()) return;
  const std::string address = FormatAddress(m_ipServer.GetAddress());
  // The same address again is not sent, even when the last attempt failed or went unanswered.
  if (address == m_strLastIp) return;
  m_strLastIp = address;
  SendCommand(ECommand::UpdateIp, "IP:" + address);
  m_window.SetTimer(TIMER_UPDATE_IP, kUpdateIpTimeoutMs);
  m_btnUpdateIp.EnableWindow(false);
  m_btnUpdateDomain.EnableWindow(false);
}

void CMirlSettingsDlg::OnUpdateDomain() {
  const std::string domain = m_editDomain.GetWindowText();
  if (RefuseTerminator(ECommand::UpdateDomain, {domain})) return;
  if (domain.empty()) return;
  SendCommand(ECommand::UpdateDomain, "HOST:" + domain);
  m_window.SetTimer(TIMER_UPDATE_DOMAIN, kUpdateDomainTimeoutMs);
  m_btnUpdateDomain.EnableWindow(false);
  m_btnUpdateIp.EnableWindow(false);
}

void CMirlSettingsDlg::OnIpReply(const std::string& value) {
  if (value != "ok" && value != "fail") {
    // The device's current address: it ends no wait.
    std::uint32_t address = 0;
    if (ParseAddressReport(value, address)) {
      m_ipServer.SetAddress(address);
      m_reported.serverIp = FormatAddress(address);
    }
    return;
  }
  m_window.KillTimer(TIMER_UPDATE_IP);
  EnableAfterReply(m_btnUpdateIp);
  EnableAfterReply(m_btnUpdateDomain);
  if (value == "ok")
    ShowSettled(ECommand::UpdateIp, EOutcome::Ok, IDS_UPDATE_IP_OK);
  else
    ShowSettled(ECommand::UpdateIp, EOutcome::Fail, IDS_UPDATE_IP_FAIL);
}

void CMirlSettingsDlg::OnHostReply(const std::string& value) {
  m_window.KillTimer(TIMER_UPDATE_DOMAIN);
  EnableAfterReply(m_btnUpdateDomain);
  EnableAfterReply(m_btnUpdateIp);
  // Whatever is not "ok" is shown as a failure.
  if (value == "ok")
    ShowSettled(ECommand::UpdateDomain, EOutcome::Ok, IDS_UPDATE_DOMAIN_OK);
  else
    ShowSettled(ECommand::UpdateDomain, EOutcome::Fail, IDS_UPDATE_DOMAIN_FAIL);
}

}  // namespace tolvane
