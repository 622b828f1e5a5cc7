#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tolvane {

// What a dealer wants written to every device, read from a small INI file. Every key is optional.
struct CProfile {
  std::optional<std::string> imei;
  std::optional<std::uint32_t> serverIp;  // first field in the highest byte, as the address control holds it
  std::optional<std::string> domain;
  std::optional<std::string> account;
  std::optional<std::string> accountPassword;
  std::optional<std::string> dealerPassword;
  std::optional<std::string> apn;
  std::optional<std::string> apnUser;
  std::optional<std::string> apnPassword;
  bool clearApn = false;
  std::optional<std::string> language;     // "en_US" or "zh_CN"
  std::optional<std::string> networkType;  // "2G", "3G" or "3G/2G"
  std::optional<std::string> wifiAddress;
  std::optional<std::string> wifiPassword;
  bool factoryReset = false;
};

// Reads and checks a profile. On any fault nothing is returned and `errorText` says
// "<file>:<line>: ..." with the key at fault, so that nothing is sent from a profile that is wrong.
std::optional<CProfile> ReadProfile(const std::string& path, std::string& errorText);

// The IMEI field takes ASCII digits only.
bool IsImeiText(const std::string& text);
// Four decimal fields of 0 to 255, as the address control holds them.
std::optional<std::uint32_t> ParseServerIp(const std::string& text);

}  // namespace tolvane
