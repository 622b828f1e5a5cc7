#pragma once

#include <string>
#include <vector>

#include "win32/WinApi.h"

namespace tolvane::win32 {

inline constexpr wchar_t kBenchLogClass[] = L"TolvaneBenchLog";
inline constexpr int kBenchLogTextId = 100;

// A unit's log in a window of its own over the bench: the lines as tolvane-provision prints them,
// read-only, in a fixed-pitch font so that their columns line up. It goes with its owner.
HWND ShowBenchLog(HWND owner, const std::string& title, const std::vector<std::string>& lines);

}  // namespace tolvane::win32
