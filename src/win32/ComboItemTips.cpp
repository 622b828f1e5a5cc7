#include "win32/ComboItemTips.h"

#include "win32/Utf16.h"

namespace tolvane::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// Lines break where the tip has them; a line longer than this wraps.
constexpr int kMaxTipWidth = 480;

}  // namespace

CComboItemTips::CComboItemTips(HWND combo) : m_hCombo(combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!::GetComboBoxInfo(combo, &info) || !info.hwndList) return;
  m_hList = info.hwndList;
  HWND owner = ::GetAncestor(combo, GA_ROOT);
  m_hTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0,
                             0, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!m_hTip) return;
  wchar_t empty[] = L"";
  TTTOOLINFOW tool = ToolInfo(empty);
  ::SendMessageW(m_hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(m_hTip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  ::SetWindowSubclass(m_hList, &CComboItemTips::ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

CComboItemTips::~CComboItemTips() {
  if (m_hList && ::IsWindow(m_hList)) ::RemoveWindowSubclass(m_hList, &CComboItemTips::ListProc, kSubclassId);
  if (m_hTip && ::IsWindow(m_hTip)) ::DestroyWindow(m_hTip);
}

TTTOOLINFOW CComboItemTips::ToolInfo(wchar_t* text) const {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  // Shown and placed by hand: the open list holds the mouse, so the tip cannot watch it itself.
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
  tool.hwnd = ::GetAncestor(m_hCombo, GA_ROOT);
  tool.uId = reinterpret_cast<UINT_PTR>(m_hCombo);
  tool.lpszText = text;
  return tool;
}

void CComboItemTips::SetTip(int index, const std::string& tip) {
  if (index < 0) return;
  std::wstring wide;
  // The tip control breaks lines only at CR LF.
  for (const wchar_t c : Widen(tip)) {
    if (c == L'\n') wide += L'\r';
    wide += c;
  }
  m_tips.push_back(std::move(wide));
  ::SendMessageW(m_hCombo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(m_tips.size()));
}

void CComboItemTips::Clear() {
  Hide();
  m_tips.clear();
}

std::string CComboItemTips::TipOf(int index) const {
  const LRESULT data = ::SendMessageW(m_hCombo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (data <= 0 || static_cast<std::size_t>(data) > m_tips.size()) return {};
  std::string tip = Narrow(m_tips[static_cast<std::size_t>(data) - 1]);
  std::erase(tip, '\r');
  return tip;
}

void CComboItemTips::Hide() {
  if (m_nShown < 0 || !m_hTip) return;
  m_nShown = -1;
  TTTOOLINFOW tool = ToolInfo(nullptr);
  ::SendMessageW(m_hTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CALLBACK CComboItemTips::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
  auto* tips = reinterpret_cast<CComboItemTips*>(self);
  if (message == WM_MOUSEMOVE) {
    tips->OnPointerAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
  } else if (message == WM_SHOWWINDOW && !wParam) {
    tips->Hide();
  } else if (message == WM_NCDESTROY) {
    tips->Hide();
    ::RemoveWindowSubclass(list, &CComboItemTips::ListProc, kSubclassId);
    tips->m_hList = nullptr;
  }
  return ::DefSubclassProc(list, message, wParam, lParam);
}

void CComboItemTips::OnPointerAt(POINT clientPoint) {
  RECT client{};
  ::GetClientRect(m_hList, &client);
  const LRESULT hit = ::PtInRect(&client, clientPoint)
                          ? ::SendMessageW(m_hList, LB_ITEMFROMPOINT, 0, MAKELPARAM(clientPoint.x, clientPoint.y))
                          : MAKELRESULT(0, 1);
  if (HIWORD(hit) != 0) {
    Hide();
    return;
  }
  ShowFor(static_cast<int>(LOWORD(hit)));
}

void CComboItemTips::ShowFor(int index) {
  if (index == m_nShown || !m_hTip) return;
  const LRESULT data = ::SendMessageW(m_hCombo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (data <= 0 || static_cast<std::size_t>(data) > m_tips.size() || m_tips[data - 1].empty()) {
    Hide();
    return;
  }
  std::wstring text = m_tips[static_cast<std::size_t>(data) - 1];
  TTTOOLINFOW tool = ToolInfo(text.data());
  ::SendMessageW(m_hTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  // Beside the item, right of the list, so that it hides no other item.
  RECT item{};
  ::SendMessageW(m_hList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  RECT list{};
  ::GetWindowRect(m_hList, &list);
  POINT at{0, item.top};
  ::ClientToScreen(m_hList, &at);
  ::SendMessageW(m_hTip, TTM_TRACKPOSITION, 0, MAKELPARAM(list.right + 2, at.y));
  ::SendMessageW(m_hTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  m_nShown = index;
}

}  // namespace tolvane::win32
