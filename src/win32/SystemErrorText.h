#pragma once

#include <string>

#include "win32/WinApi.h"

namespace tolvane::win32 {

// The system's message for `error`, without the line break Windows ends it with.
std::string SystemErrorText(DWORD error);

}  // namespace tolvane::win32
