#pragma once

#include <cstdint>
#include <string>

#include "ui/IWindow.h"

namespace tolvane {

// Control members: a control id bound to the window, with the operations the logic uses on it.
class CWnd {
 public:
  CWnd(IWindow& window, int id) : m_window(&window), m_nId(id) {}
  int GetDlgCtrlID() const { return m_nId; }
  void SetWindowText(const std::string& text) { m_window->SetWindowText(m_nId, text); }
  std::string GetWindowText() const { return m_window->GetWindowText(m_nId); }
  int GetWindowTextLength() const { return m_window->GetWindowTextLength(m_nId); }
  void EnableWindow(bool enable = true) { m_window->EnableWindow(m_nId, enable); }
  bool IsWindowEnabled() const { return m_window->IsWindowEnabled(m_nId); }

 protected:
  IWindow* m_window;
  int m_nId;
};

class CButton : public CWnd {
 public:
  using CWnd::CWnd;
};

class CEdit : public CWnd {
 public:
  using CWnd::CWnd;
  void SetLimitText(int maxChars) { m_window->LimitText(m_nId, maxChars); }
  void AppendText(const std::string& text) { m_window->AppendText(m_nId, text); }
};

class CComboBox : public CWnd {
 public:
  static constexpr int CB_ERR = -1;
  using CWnd::CWnd;
  int AddString(const std::string& text) { return m_window->ComboAddString(m_nId, text); }
  int SetCurSel(int index) { return m_window->ComboSetCurSel(m_nId, index); }
  int GetCurSel() const { return m_window->ComboGetCurSel(m_nId); }
  int GetCount() const { return m_window->ComboGetCount(m_nId); }
  void ResetContent() { m_window->ComboResetContent(m_nId); }
  void SetItemTip(int index, const std::string& tip) { m_window->ComboSetItemTip(m_nId, index, tip); }
};

class CListCtrl : public CWnd {
 public:
  using CWnd::CWnd;
  int GetClientWidth() const { return m_window->ListGetClientWidth(m_nId); }
  void AddExtendedStyle(unsigned styles) { m_window->ListAddExtendedStyle(m_nId, styles); }
  void InsertColumn(int column, const std::string& heading, ColumnAlign align, int width) {
    m_window->ListInsertColumn(m_nId, column, heading, align, width);
  }
  void SetImageList(const CImageList& images) { m_window->ListSetImageList(m_nId, images); }
  int GetItemCount() const { return m_window->ListGetItemCount(m_nId); }
  int InsertItem(int row, const std::string& text, int image) {
    return m_window->ListInsertItem(m_nId, row, text, image);
  }
  void SetItemText(int row, int column, const std::string& text) {
    m_window->ListSetItemText(m_nId, row, column, text);
  }
  std::string GetItemText(int row, int column) const { return m_window->ListGetItemText(m_nId, row, column); }
  void DeleteAllItems() { m_window->ListDeleteAllItems(m_nId); }
};

class CIPAddressCtrl : public CWnd {
 public:
  using CWnd::CWnd;
  void ClearAddress() { m_window->IpClearAddress(m_nId); }
  bool IsBlank() const { return m_window->IpIsBlank(m_nId); }
  std::uint32_t GetAddress() const { return m_window->IpGetAddress(m_nId); }
  void SetAddress(std::uint32_t address) { m_window->IpSetAddress(m_nId, address); }
};

}  // namespace tolvane
