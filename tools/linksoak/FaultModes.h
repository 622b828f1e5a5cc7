#pragma once

#include <string>
#include <vector>

namespace tolvane::linksoak {

// The line a fault run ends with, for the parent to read: "RESULT|defined|what|messages|rss".
inline constexpr char kResultTag[] = "RESULT|";

std::vector<std::string> FaultModeNames();
// Runs one fault mode in this process and prints its result line. Returns the exit status.
int RunFaultMode(const std::string& name);
// Opens the port of `terminalPath` through the window, as whatever user this process runs as.
int RunOpenAsThisUser(const std::string& terminalPath);

}  // namespace tolvane::linksoak
