#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// What the command line of tolvane-provision asks for.
struct CProvisionOptions {
  std::string profilePath;
  std::vector<int> comNumbers;  // --port, each a device provisioned at the same time as the others
  std::optional<std::string> imei;
  std::string imeiListPath;
  std::string poolAddress;  // --pool: an SQLite file or a postgresql:// URL
  std::string station;      // --station: who claims from the pool; the host name by default
  std::string reportPath;
  bool wait = false;
  bool dryRun = false;
  bool listPorts = false;
  bool yes = false;
};

// Parses the arguments (program name first). Prints --help itself and returns nothing with
// `exitCode` 0; a command line it cannot take is reported on standard error, with `exitCode` 2.
std::optional<CProvisionOptions> ParseProvisionOptions(const QStringList& arguments, int& exitCode);

// "COM33", or a device name such as ttyUSB0 or /dev/ttyUSB0, as a COM number; nothing when neither.
std::optional<int> ParsePortName(const std::string& text);

}  // namespace tolvane
