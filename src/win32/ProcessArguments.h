#pragma once

#include <string>
#include <vector>

namespace tolvane::win32 {

// This process's arguments after the program's name, split as Windows splits them, in UTF-8.
std::vector<std::string> ProcessArguments();

}  // namespace tolvane::win32
