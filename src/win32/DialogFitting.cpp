#include "win32/DialogFitting.h"

#include <algorithm>
#include <map>

#include "win32/Utf16.h"

namespace tolvane::win32 {
namespace {

// Measures captions as the controls draw them, in the control's own font.
class CCaptionRuler {
 public:
  CCaptionRuler(HWND dialog, const std::vector<CBuiltControl>& controls) : m_hDialog(dialog), m_hDC(::GetDC(dialog)) {
    for (const auto& [row, window] : controls) m_windows[row] = window;
    // A button's bevel and the air beside its caption: two dialog units each side, one above and
    // one below.
    m_buttonMargin = {0, 0, 4, 2};
    ::MapDialogRect(dialog, &m_buttonMargin);
  }
  ~CCaptionRuler() { ::ReleaseDC(m_hDialog, m_hDC); }
  CCaptionRuler(const CCaptionRuler&) = delete;
  CCaptionRuler& operator=(const CCaptionRuler&) = delete;

  CCaptionSize Measure(const CControlTemplate& row, std::string_view text) {
    const auto found = m_windows.find(&row);
    HWND window = found != m_windows.end() ? found->second : m_hDialog;
    HGDIOBJ previous = ::SelectObject(m_hDC, reinterpret_cast<HGDIOBJ>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    const std::wstring wide = Widen(std::string(text));
    RECT extent{};
    // Only a button makes an ampersand a mnemonic, which takes no room.
    const UINT prefix = row.kind == ControlKind::Button || row.kind == ControlKind::DefaultButton ? 0 : DT_NOPREFIX;
    ::DrawTextW(m_hDC, wide.c_str(), static_cast<int>(wide.size()), &extent, DT_CALCRECT | DT_LEFT | DT_TOP | prefix);
    ::SelectObject(m_hDC, previous);
    switch (row.kind) {
      case ControlKind::Label: return {extent.right, extent.bottom};
      case ControlKind::ComboBox: return {extent.right + ComboBoxMargin(window), extent.bottom};
      default: return {extent.right + m_buttonMargin.right, extent.bottom + m_buttonMargin.bottom};
    }
  }

 private:
  // What a combo box takes beside its field's text: its button, its border and the field's margins.
  static int ComboBoxMargin(HWND comboBox) {
    RECT box{}, text{};
    ::GetWindowRect(comboBox, &box);
    ::SendMessageW(::FindWindowExW(comboBox, nullptr, L"Edit", nullptr), EM_GETRECT, 0,
                   reinterpret_cast<LPARAM>(&text));
    return box.right - box.left - (text.right - text.left);
  }

  HWND m_hDialog;
  HDC m_hDC;
  std::map<const CControlTemplate*, HWND> m_windows;
  RECT m_buttonMargin{};
};

RECT ToRect(const CPixelRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The IP address control lays out its four fields only when it is made: at another size it is
// made again, in the same place in the tab order.
void RemakeAtSize(HWND dialog, HWND control, const RECT& place) {
  wchar_t windowClass[64] = {};
  ::GetClassNameW(control, windowClass, 64);
  HWND made = ::CreateWindowExW(static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_EXSTYLE)), windowClass, L"",
                                static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE)), place.left, place.top,
                                place.right - place.left, place.bottom - place.top, dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(::GetDlgCtrlID(control))),
                                reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
  if (!made) return;
  ::SendMessageW(made, WM_SETFONT, ::SendMessageW(control, WM_GETFONT, 0, 0), FALSE);
  ::SetWindowPos(made, control, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::DestroyWindow(control);
}

void PlaceControl(HWND dialog, const CBuiltControl& control, const RECT& place) {
  RECT now{};
  ::GetWindowRect(control.window, &now);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&now), 2);
  const bool resized = now.right - now.left != place.right - place.left;
  if (control.row->kind == ControlKind::IpAddress && resized) return RemakeAtSize(dialog, control.window, place);
  // A combo box's height is its dropped-down list's, as in the template; an icon keeps its
  // picture's size.
  const UINT keepSize = control.row->kind == ControlKind::Icon ? SWP_NOSIZE : 0;
  ::SetWindowPos(control.window, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
}

// The dialog's client area takes the template's size at this scale, about the dialog's old centre.
void SizeDialog(HWND dialog, const CDialogTemplate& dialogTemplate, TextLanguage language, const CDialogScale& scale) {
  RECT window{}, client{};
  ::GetWindowRect(dialog, &window);
  ::GetClientRect(dialog, &client);
  const int width = window.right - window.left - client.right + scale.X(dialogTemplate.Width(language));
  const int height = window.bottom - window.top - client.bottom + scale.Y(dialogTemplate.Height(language));
  const int left = std::max(0L, window.left - (width - (window.right - window.left)) / 2);
  ::SetWindowPos(dialog, nullptr, left, window.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CDialogScale FitDialogToFont(HWND dialog, const CDialogTemplate& dialogTemplate, TextLanguage language) {
  const std::vector<CBuiltControl> controls = BuiltControls(dialog, dialogTemplate, language);
  RECT unit{0, 0, 4, 8};
  ::MapDialogRect(dialog, &unit);
  CDialogScale scale;
  {
    CCaptionRuler ruler(dialog, controls);
    scale =
        FitDialog(dialogTemplate, language, {unit.right, unit.bottom},
                  [&ruler](const CControlTemplate& row, std::string_view text) { return ruler.Measure(row, text); });
  }
  for (const CBuiltControl& control : controls)
    PlaceControl(dialog, control, ToRect(scale.ToPixels(control.row->Rect(language))));
  SizeDialog(dialog, dialogTemplate, language, scale);
  return scale;
}

}  // namespace tolvane::win32
