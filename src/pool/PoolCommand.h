#pragma once

#include <string>
#include <vector>

#include "engine/IFileSystem.h"

namespace tolvane {

// tolvane-provision pool init|import|status|export|release: looks after an IMEI pool. Takes the
// arguments after "pool", prints to standard output and error, and returns the exit status.
int RunPoolCommand(std::vector<std::string> arguments, const std::string& hostName, IFileSystem& files);

}  // namespace tolvane
