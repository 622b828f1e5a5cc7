#pragma once

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tolvane::devsim {

// How the simulated line misbehaves, for rehearsing a bad cable or a slow device.
struct CLineFaults {
  bool bSplit = false;                 // answers leave in random pieces with small pauses between them
  bool bGarbage = false;               // junk runs, each cut off by a terminator, go out before answers
  std::chrono::milliseconds delay{0};  // every answer waits this long before it leaves
};

struct CDevsimOptions {
  bool bSilent = false;              // commands are read and noted but never answered
  std::set<std::string> refuseKeys;  // commands with these keys are answered "fail" and change nothing
  std::set<std::string> ignoreKeys;  // commands with these keys are never answered and change nothing
  CLineFaults faults;
  // The settings it reports when the PC opens the link; a real device may report fewer, or none.
  std::set<std::string> reportKeys{"IMEI", "IP", "LANGUAGE", "NETWORK_TYPE"};
  int nUnplugAfter = 0;              // drop the line after this many commands; 0: never
  std::string strRegistryDirectory;  // empty: the per-user default
  std::optional<unsigned> seed;      // for --split and --garbage; random when absent
  bool bExitWithParent = false;      // a test that started it may die without stopping it
  bool bHelp = false;

  // What the simulated radios accept.
  std::string strWifiPassword = "parlo123";  // joins any listed network
  std::string strBtPin = "0000";             // pairs any listed device
};

// Parses the arguments after the program name. On failure returns nothing and says why.
std::optional<CDevsimOptions> ParseDevsimOptions(const std::vector<std::string>& arguments, std::string& errorText);

std::string DevsimUsage();

}  // namespace tolvane::devsim
