#pragma once

// The one way into the Windows headers. The core names some of its operations and constants as the
// platform does (MessageBox, SetWindowText, LoadString, IDOK, CB_ERR, LVS_EX_...), and the headers
// make those names macros; they are taken back here, so both can be included in any order. The
// platform's functions are called by their W names.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
// windows.h first: commctrl.h builds on it.
#include <commctrl.h>

#undef MessageBox
#undef SetWindowText
#undef GetWindowText
#undef GetWindowTextLength
#undef LoadString
#undef IDOK
#undef CB_ERR
#undef LVS_EX_GRIDLINES
#undef LVS_EX_SUBITEMIMAGES
#undef LVS_EX_FULLROWSELECT

namespace tolvane::win32 {

// The values the undefined macros stood for, where this layer needs them itself.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr LRESULT kComboError = -1;

}  // namespace tolvane::win32
