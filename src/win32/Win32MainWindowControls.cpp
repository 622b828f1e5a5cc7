// The control operations that the logic performs, addressed by control id.
#include <vector>

#include "win32/Utf16.h"
#include "win32/Win32MainWindow.h"

namespace tolvane::win32 {

void CWin32MainWindow::SetWindowText(int id, const std::string& text) {
  // Past any typing limit, as the platform's edits take text the program sets.
  HWND control = Control(id);
  if (!control) return;
  ::SetWindowTextW(control, Widen(text).c_str());
  // Setting the text puts the caret first; text appended later belongs after what is there.
  wchar_t windowClass[16] = {};
  ::GetClassNameW(control, windowClass, 16);
  if (::lstrcmpiW(windowClass, WC_EDITW) == 0 && (::GetWindowLongPtrW(control, GWL_STYLE) & ES_MULTILINE) != 0) {
    const int end = ::GetWindowTextLengthW(control);
    ::SendMessageW(control, EM_SETSEL, static_cast<WPARAM>(end), end);
  }
}

std::string CWin32MainWindow::GetWindowText(int id) const {
  HWND control = Control(id);
  if (!control) return {};
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

int CWin32MainWindow::GetWindowTextLength(int id) const {
  HWND control = Control(id);
  return control ? ::GetWindowTextLengthW(control) : 0;
}

void CWin32MainWindow::EnableWindow(int id, bool enable) {
  if (HWND control = Control(id)) ::EnableWindow(control, enable ? TRUE : FALSE);
}

bool CWin32MainWindow::IsWindowEnabled(int id) const {
  HWND control = Control(id);
  return control && ::IsWindowEnabled(control);
}

void CWin32MainWindow::LimitText(int id, int maxChars) {
  Send(id, EM_LIMITTEXT, static_cast<WPARAM>(maxChars > 0 ? maxChars : 0));
}

void CWin32MainWindow::AppendText(int id, const std::string& text) {
  // At the caret, which stays at the end unless the user moves it; a selection is dropped, not
  // replaced, so what the box shows is never rewritten.
  DWORD selectionEnd = 0;
  Send(id, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
  Send(id, EM_SETSEL, selectionEnd, static_cast<LPARAM>(selectionEnd));
  const std::wstring wide = Widen(text);
  Send(id, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));  // FALSE: no undo
  Send(id, EM_SCROLLCARET);
}

int CWin32MainWindow::ComboAddString(int id, const std::string& text) {
  if (!Control(id)) return -1;
  const std::wstring wide = Widen(text);
  const LRESULT index = Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  return index < 0 ? -1 : static_cast<int>(index);
}

void CWin32MainWindow::ComboResetContent(int id) {
  // Empties the list and the edit field alike.
  Send(id, CB_RESETCONTENT);
  if (const auto tips = m_itemTips.find(id); tips != m_itemTips.end()) tips->second->Clear();
}

void CWin32MainWindow::ComboSetItemTip(int id, int index, const std::string& tip) {
  HWND combo = Control(id);
  if (!combo || m_bDestroyed) return;
  std::unique_ptr<CComboItemTips>& tips = m_itemTips[id];
  if (!tips) tips = std::make_unique<CComboItemTips>(combo);
  tips->SetTip(index, tip);
}

const CComboItemTips* CWin32MainWindow::ItemTips(int id) const {
  const auto tips = m_itemTips.find(id);
  return tips == m_itemTips.end() ? nullptr : tips->second.get();
}

int CWin32MainWindow::ComboSetCurSel(int id, int index) {
  if (!Control(id)) return -1;
  // An index outside the list clears the selection, as the platform documents it.
  if (index < 0 || index >= ComboGetCount(id)) index = -1;
  const LRESULT selected = Send(id, CB_SETCURSEL, static_cast<WPARAM>(index));
  // The start of the chosen item shows when the field is narrower than it.
  Send(id, CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
  return selected == kComboError ? -1 : static_cast<int>(selected);
}

int CWin32MainWindow::ComboGetCurSel(int id) const {
  if (!Control(id)) return -1;
  const LRESULT selected = Send(id, CB_GETCURSEL);
  return selected == kComboError ? -1 : static_cast<int>(selected);
}

int CWin32MainWindow::ComboGetCount(int id) const {
  if (!Control(id)) return -1;
  const LRESULT count = Send(id, CB_GETCOUNT);
  return count == kComboError ? -1 : static_cast<int>(count);
}

int CWin32MainWindow::ListGetClientWidth(int id) const {
  RECT client{};
  HWND control = Control(id);
  if (!control || !::GetClientRect(control, &client)) return 0;
  return client.right - client.left;
}

void CWin32MainWindow::ListAddExtendedStyle(int id, unsigned styles) {
  // The core's style bits are the platform's own.
  Send(id, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, static_cast<LPARAM>(styles));
}

void CWin32MainWindow::ListInsertColumn(int id, int column, const std::string& heading, ColumnAlign align, int width) {
  std::wstring text = Widen(heading);
  LVCOLUMNW lvColumn{};
  lvColumn.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  lvColumn.fmt = align == ColumnAlign::Center  ? LVCFMT_CENTER
                 : align == ColumnAlign::Right ? LVCFMT_RIGHT
                                               : LVCFMT_LEFT;
  lvColumn.cx = width;
  lvColumn.pszText = text.data();
  lvColumn.iSubItem = column;
  Send(id, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&lvColumn));
}

void CWin32MainWindow::ListSetImageList(int id, const CImageList& images) {
  if (!Control(id)) return;
  auto list = std::make_unique<CWin32ImageList>();
  if (!list->Create(images)) return;
  Send(id, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(list->Handle()));
  // The list shares it (LVS_SHAREIMAGELISTS): it is released with the window object, once.
  m_imageLists[id] = std::move(list);
}

int CWin32MainWindow::ListGetItemCount(int id) const { return static_cast<int>(Send(id, LVM_GETITEMCOUNT)); }

int CWin32MainWindow::ListInsertItem(int id, int row, const std::string& text, int image) {
  if (!Control(id)) return -1;
  std::wstring wide = Widen(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.pszText = wide.data();
  // A negative index would be I_IMAGECALLBACK, which asks the window for a picture later: no picture.
  item.iImage = image >= 0 ? image : I_IMAGENONE;
  return static_cast<int>(Send(id, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void CWin32MainWindow::ListSetItemText(int id, int row, int column, const std::string& text) {
  std::wstring wide = Widen(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  Send(id, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string CWin32MainWindow::ListGetItemText(int id, int row, int column) const {
  // The list copies at most the buffer's size less one: grow until the text fits.
  for (std::size_t size = 256;; size *= 2) {
    std::vector<wchar_t> buffer(size, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(size);
    const auto length =
        static_cast<std::size_t>(Send(id, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < size || size >= (1u << 20)) return Narrow(std::wstring_view(item.pszText, length));
  }
}

void CWin32MainWindow::ListDeleteAllItems(int id) { Send(id, LVM_DELETEALLITEMS); }

void CWin32MainWindow::IpClearAddress(int id) { Send(id, IPM_CLEARADDRESS); }

bool CWin32MainWindow::IpIsBlank(int id) const { return !Control(id) || Send(id, IPM_ISBLANK) != 0; }

std::uint32_t CWin32MainWindow::IpGetAddress(int id) const {
  DWORD address = 0;
  Send(id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
  return address;
}

void CWin32MainWindow::IpSetAddress(int id, std::uint32_t address) {
  Send(id, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
}

}  // namespace tolvane::win32
