#include "win32/CaptionFit.h"

#include "win32/Utf16.h"

namespace tolvane::win32 {
namespace {

int CaptionWidth(HWND control, const std::wstring& caption) {
  HDC dc = ::GetDC(control);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
  ::SelectObject(dc, previous);
  ::ReleaseDC(control, dc);
  return extent.cx;
}

RECT RectInDialog(HWND dialog, HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

void FitCaptions(HWND dialog, const std::vector<CBuiltControl>& controls, TextLanguage language) {
  // A button's bevel and the space beside its caption: two dialog units each side. A label's text
  // is drawn with word breaks, which wants a little room at the end of the line.
  RECT margin{0, 0, 4, 0};
  ::MapDialogRect(dialog, &margin);
  for (const auto& [row, control] : controls) {
    const bool label = row->kind == ControlKind::Label;
    const bool oneLineButton = row->kind == ControlKind::Button && !row->IsMultiLine(language);
    if (!label && !oneLineButton) continue;
    const int needed =
        CaptionWidth(control, Widen(row->caption.Get(language))) + (label ? margin.right / 4 : margin.right * 2);
    RECT rect = RectInDialog(dialog, control);
    const int missing = needed - (rect.right - rect.left);
    if (missing <= 0) continue;
    if (oneLineButton) rect.left -= missing / 2;
    rect.right = rect.left + needed;
    ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace tolvane::win32
