#pragma once

#include <string>

#include "win32/WinApi.h"

namespace tolvane::win32 {

// A settings string such as "921600,n,8,1": baud rate, parity, data bits, stop bits.
struct CCommSettings {
  DWORD baudRate = 0;
  BYTE parity = NOPARITY;
  BYTE dataBits = 8;
  BYTE stopBits = ONESTOPBIT;
};

// False when a field is missing, unknown or out of range.
bool ParseCommSettings(const std::string& text, CCommSettings& settings);

// The line as the link needs it: these settings, binary, no flow control of either kind, and no
// abort on a line error (a framing error costs its byte, not the link).
void ApplyToDcb(const CCommSettings& settings, DCB& dcb);

}  // namespace tolvane::win32
