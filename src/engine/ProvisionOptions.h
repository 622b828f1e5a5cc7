#pragma once

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

}  // namespace tolvane
