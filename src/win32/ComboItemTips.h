#pragma once

#include <string>
#include <vector>

#include "win32/WinApi.h"

namespace tolvane::win32 {

// Tips for the items of a combo box's open list: the item under the pointer shows its tip beside the
// list. A tip is tied to its item through the item's data, so it stays with it when a sorted list
// puts later items before it.
class CComboItemTips {
 public:
  explicit CComboItemTips(HWND combo);
  ~CComboItemTips();
  CComboItemTips(const CComboItemTips&) = delete;
  CComboItemTips& operator=(const CComboItemTips&) = delete;

  void SetTip(int index, const std::string& tip);
  // The list was emptied.
  void Clear();
  std::string TipOf(int index) const;
  // The list has closed: no tip stays behind.
  void Hide();
  HWND ToolTip() const { return m_hTip; }
  HWND List() const { return m_hList; }

 private:
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  void OnPointerAt(POINT clientPoint);
  void ShowFor(int index);
  TTTOOLINFOW ToolInfo(wchar_t* text) const;

  HWND m_hCombo;
  HWND m_hList = nullptr;
  HWND m_hTip = nullptr;
  std::vector<std::wstring> m_tips;  // item data n stands for m_tips[n - 1]
  int m_nShown = -1;
};

}  // namespace tolvane::win32
