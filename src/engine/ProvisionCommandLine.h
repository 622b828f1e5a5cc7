#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/ProvisionOptions.h"

namespace tolvane {

// What tolvane-provision's command line comes to.
struct CProvisionCommandLine {
  enum class EAction { Run, ShowHelp, Refuse };
  EAction action = EAction::Run;
  CProvisionOptions options;
  std::string text;  // the help, or why the command line was refused and where to look; no final newline
  int exitStatus = 0;
};

// The arguments after the program's name. The station is the host name unless --station names it.
CProvisionCommandLine ParseProvisionCommandLine(const std::vector<std::string>& arguments, const std::string& hostName);

// A bench's name as the pool records it and `pool status` prints it: not empty, and without line
// breaks or other control characters, which could forge lines there.
bool IsStationName(const std::string& name);
inline constexpr char kStationRule[] = "--station takes a name without line breaks or other control characters";

// "COM33", or a device name such as ttyUSB0 or /dev/ttyUSB0, as a COM number; nothing when neither.
std::optional<int> ParsePortName(const std::string& text);

}  // namespace tolvane
