#pragma once

#include <string>
#include <vector>

#include "res/DialogTemplates.h"
#include "win32/WinApi.h"

namespace tolvane::win32::testing {

// What a user would see wrong in a dialog built from the template as it stands, measured in the
// template's font under the face the dialog asked for: a caption cut by its control, a fixed
// combo-box choice cut by its field, controls (a label as far as its text) that overlap, cross a
// frame's edge or leave the window. Empty when there is nothing.
std::vector<std::string> LayoutFaults(HWND dialog, const CDialogTemplate& dialogTemplate, const wchar_t* fontFace);

// The same, less the check of the font, for a window that lays its controls out itself in the font.
std::vector<std::string> ControlFaults(HWND window, const CDialogFont& font, const wchar_t* fontFace);

// The font's height in pixels as the probe makes it: eight of the window's vertical dialog units.
int DialogFontHeight(const CDialogFont& font, const wchar_t* fontFace);

}  // namespace tolvane::win32::testing
