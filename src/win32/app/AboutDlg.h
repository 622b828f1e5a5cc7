#pragma once

#include "res/Strings.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// The About box, dialog template 100: the icon, the version line and OK. OK, Esc and the close box
// end it.
class CAboutDlg {
 public:
  explicit CAboutDlg(TextLanguage language = GetThreadTextLanguage()) : m_language(language) {}
  // Runs modally over the owner; returns how it ended (IDOK or IDCANCEL), -1 when it could not open.
  INT_PTR DoModal(HWND owner) const;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  TextLanguage m_language;
};

// The main window's About box: modal over it, until OK.
void RunAboutBoxOver(HWND owner);

}  // namespace tolvane::win32
