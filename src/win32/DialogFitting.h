#pragma once

#include "res/DialogFit.h"
#include "win32/DialogTemplateBuilder.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// Fits a dialog built from the template to the font it really got: measures the captions with
// it, grows the dialog evenly as far as the core's fit asks, and places every control and the
// dialog's own size from the template at that scale. Call it on WM_INITDIALOG, before anything
// else is done to the controls.
CDialogScale FitDialogToFont(HWND dialog, const CDialogTemplate& dialogTemplate, TextLanguage language);

}  // namespace tolvane::win32
