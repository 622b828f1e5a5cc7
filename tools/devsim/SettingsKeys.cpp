#include <algorithm>
#include <cctype>

#include "DeviceKeys.h"
#include "DeviceWire.h"

namespace tolvane::devsim {

namespace {

using namespace std::chrono_literals;

// Long enough for the PC to see the line go quiet, short enough for a test to wait out.
constexpr auto kRestartTime = 2s;

bool IsDigits(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsImei(const std::string& text) { return text.size() == 15 && IsDigits(text); }

// Four decimal parts of one to three digits, none above 255.
bool IsIpv4(const std::string& text) {
  std::size_t begin = 0;
  for (int part = 0; part < 4; ++part) {
    const std::size_t end = part < 3 ? text.find('.', begin) : text.size();
    if (end == std::string::npos) return false;
    const std::string digits = text.substr(begin, end - begin);
    if (digits.empty() || digits.size() > 3 || !IsDigits(digits) || std::stoi(digits) > 255) return false;
    begin = end + 1;
  }
  return true;
}

bool HasBlank(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

void Answer(CDeviceResponse& response, const std::string& key, bool ok, const std::string& note) {
  response.replies.push_back(key + (ok ? ":ok" : ":fail"));
  response.notes.push_back(note);
}

void AddServerKeys(CDeviceModel& model) {
  model.AddKey("IMEI", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    if (!IsImei(value)) return Answer(response, "IMEI", false, "refused IMEI: not 15 digits");
    state.settings.strImei = value;
    Answer(response, "IMEI", true, "IMEI is now " + value + " (after a restart)");
  });
  model.AddKey("IP", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    if (!IsIpv4(value)) return Answer(response, "IP", false, "refused server address \"" + value + "\"");
    state.settings.strServerIp = value;
    Answer(response, "IP", true, "server address is now " + value);
  });
  model.AddKey("HOST", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    if (value.empty() || HasBlank(value)) return Answer(response, "HOST", false, "refused domain \"" + value + "\"");
    state.settings.strDomain = value;
    Answer(response, "HOST", true, "server domain is now " + value);
  });
  model.AddKey("ACCOUNT", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    std::string password;
    const std::string account = FieldBefore(value, password);
    if (account.empty() || value.find('^') == std::string::npos)
      return Answer(response, "ACCOUNT", false, "refused account: none given");
    state.settings.strAccount = account;
    state.settings.strAccountPassword = password;
    Answer(response, "ACCOUNT", true, "account is now " + account);
  });
  model.AddKey("CUSTOMER_PW", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    state.settings.strDealerPassword = value;
    Answer(response, "CUSTOMER_PW", true, "dealer password changed");
  });
}

void AddNetworkKeys(CDeviceModel& model) {
  model.AddKey("APN", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    std::string login;
    const std::string apn = FieldBefore(value, login);
    if (apn.empty()) return Answer(response, "APN", false, "refused APN: no name");
    // User names such as "me@isp" are common; a password with "@" is not.
    const std::size_t at = login.rfind('@');
    state.settings.strApn = apn;
    state.settings.strApnUser = login.substr(0, at);
    state.settings.strApnPassword = at == std::string::npos ? std::string() : login.substr(at + 1);
    Answer(response, "APN", true, "APN is now " + apn + " (user \"" + state.settings.strApnUser + "\")");
  });
  model.AddKey("APN_RESET", [](const std::string&, CDeviceState& state, CDeviceResponse& response) {
    state.settings.strApn.clear();
    state.settings.strApnUser.clear();
    state.settings.strApnPassword.clear();
    Answer(response, "APN_RESET", true, "APN cleared");
  });
  model.AddKey("LANGUAGE", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    if (value != "en_US" && value != "zh_CN") return Answer(response, "LANGUAGE", false, "unknown language " + value);
    state.settings.strLanguage = value;
    Answer(response, "LANGUAGE", true, "language is now " + value);
  });
  model.AddKey("NETWORK_TYPE", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    if (value != "2G" && value != "3G" && value != "3G/2G")
      return Answer(response, "NETWORK_TYPE", false, "unknown network type " + value);
    state.settings.strNetworkType = value;
    Answer(response, "NETWORK_TYPE", true, "network type is now " + value);
  });
  model.AddKey("FACTORY_RESET", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    if (value != "reboot") return Answer(response, "FACTORY_RESET", false, "refused FACTORY_RESET:" + value);
    // Everything back to how it left the factory, the link included: the app restarts.
    state = CDeviceState{};
    Answer(response, "FACTORY_RESET", true, "factory settings restored, restarting");
    response.restartFor = kRestartTime;
  });
}

}  // namespace

void AddSettingsKeys(CDeviceModel& model) {
  AddServerKeys(model);
  AddNetworkKeys(model);
}

void ReportSettings(const CDeviceState& state, const std::set<std::string>& keys, CDeviceResponse& response) {
  const CDeviceSettings& settings = state.settings;
  for (const auto& [key, value] : {std::pair{"IMEI", &settings.strImei}, {"IP", &settings.strServerIp},
                                   {"LANGUAGE", &settings.strLanguage}, {"NETWORK_TYPE", &settings.strNetworkType}})
    if (keys.count(key)) response.replies.push_back(key + (":" + *value));
}

}  // namespace tolvane::devsim
