#pragma once

#include <string>

#include "win32/WinApi.h"

namespace tolvane::win32 {

// Asks the bench's Release question over `owner` with two answers, Release and Keep; true for
// Release. Closing the box keeps the claim.
bool AskRelease(HWND owner, const std::string& question);

}  // namespace tolvane::win32
