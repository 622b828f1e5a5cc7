#include "bench/ProductionProfile.h"

#include "link/SecretMask.h"

namespace tolvane {

namespace {

std::string DottedIp(std::uint32_t address) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8)
    text += std::to_string((address >> shift) & 0xFF) + (shift > 0 ? "." : "");
  return text;
}

}  // namespace

std::vector<std::string> DescribeProfile(const CProfile& profile) {
  std::vector<std::string> rows;
  const auto add = [&rows](const char* key, const std::optional<std::string>& value, bool secret = false) {
    if (value) rows.push_back(std::string(key) + " = " + (secret ? std::string(kSecretMask) : *value));
  };
  add("imei", profile.imei);
  if (profile.serverIp) rows.push_back("server_ip = " + DottedIp(*profile.serverIp));
  add("domain", profile.domain);
  add("account", profile.account);
  add("account_password", profile.accountPassword, true);
  add("dealer_password", profile.dealerPassword, true);
  add("apn", profile.apn);
  add("apn_user", profile.apnUser);
  add("apn_password", profile.apnPassword, true);
  if (profile.clearApn) rows.push_back("clear_apn = true");
  add("language", profile.language);
  add("network_type", profile.networkType);
  add("wifi_address", profile.wifiAddress);
  add("wifi_password", profile.wifiPassword, true);
  if (profile.factoryReset) rows.push_back("factory_reset = true");
  return rows;
}

}  // namespace tolvane
