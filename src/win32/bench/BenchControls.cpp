#include "win32/bench/BenchControls.h"

#include <algorithm>

#include "res/BenchLayout.h"

namespace tolvane::win32 {

int CBenchUnits::X(int dialogUnits) const {
  RECT rect{0, 0, dialogUnits, 0};
  ::MapDialogRect(dialog, &rect);
  return rect.right;
}

int CBenchUnits::Y(int dialogUnits) const {
  RECT rect{0, 0, 0, dialogUnits};
  ::MapDialogRect(dialog, &rect);
  return rect.bottom;
}

int CBenchUnits::Line() const { return std::max<int>(Y(CBenchLayout::kLineHeight), CaptionSize(dialog, L"Ag").cy); }

HWND MakeChild(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id) {
  HWND child = ::CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (child) ::SendMessageW(child, WM_SETFONT, ::SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
  return child;
}

SIZE CaptionSize(HWND window, const std::wstring& text) {
  HDC dc = ::GetDC(window);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)));
  RECT extent{};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_LEFT | DT_TOP | DT_NOPREFIX);
  ::SelectObject(dc, previous);
  ::ReleaseDC(window, dc);
  return {extent.right, extent.bottom};
}

std::wstring ControlText(HWND control) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetTextIfChanged(HWND control, const std::wstring& text) {
  // Setting the same text again would only flicker.
  if (control && ControlText(control) != text) ::SetWindowTextW(control, text.c_str());
}

}  // namespace tolvane::win32
