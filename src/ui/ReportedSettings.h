#pragma once

#include <optional>
#include <string>

namespace tolvane {

// What the device last said of itself since the link opened, in the device's own terms; nothing
// for what it has not said.
struct CReportedSettings {
  std::optional<std::string> imei;
  std::optional<std::string> serverIp;     // dotted, as the address control shows it
  std::optional<std::string> language;     // "en_US" or "zh_CN"
  std::optional<std::string> networkType;  // "2G", "3G" or "3G/2G"
};

}  // namespace tolvane
