#include "win32/app/AboutDlg.h"

#include "win32/DialogFitting.h"

namespace tolvane::win32 {

INT_PTR CAboutDlg::DoModal(HWND owner) const {
  const CDialogTemplateBuilder dialogTemplate(AboutDialogTemplate(), m_language, AboutBoxFrameStyle());
  return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate.Get(), owner, &CAboutDlg::DialogProc,
                                   reinterpret_cast<LPARAM>(this));
}

void RunAboutBoxOver(HWND owner) { CAboutDlg().DoModal(owner); }

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const TextLanguage language = reinterpret_cast<const CAboutDlg*>(lParam)->m_language;
    FitDialogToFont(window, AboutDialogTemplate(), language);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == kIdOk || LOWORD(wParam) == kIdCancel)) {
    ::EndDialog(window, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace tolvane::win32
