#pragma once

#include <vector>

#include "win32/DialogTemplateBuilder.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// Where the dialog font runs wider than the one the template was drawn for, a label grows to the
// right to show its caption whole, and a one-line button grows evenly on both sides. Nothing
// shrinks and nothing moves otherwise.
void FitCaptions(HWND dialog, const std::vector<CBuiltControl>& controls, TextLanguage language);

}  // namespace tolvane::win32
