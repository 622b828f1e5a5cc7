#pragma once

#include "link/LineSettings.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// The line as the link needs it: these settings, binary, no flow control of either kind, and no
// abort on a line error (a framing error costs its byte, not the link).
void ApplyToDcb(const CLineSettings& settings, DCB& dcb);

}  // namespace tolvane::win32
