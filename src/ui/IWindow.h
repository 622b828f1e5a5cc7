#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/WindowThread.h"
#include "res/Picture.h"

namespace tolvane {

// Extended styles of the report-view lists.
enum ListStyle : unsigned {
  LVS_EX_GRIDLINES = 0x1,
  LVS_EX_SUBITEMIMAGES = 0x2,
  LVS_EX_FULLROWSELECT = 0x20,
};

enum class ColumnAlign { Left, Center, Right };

// Everything the logic asks of the window. Controls are addressed by id. Texts are UTF-8.
// All calls come from the window's thread, except PostToWindowThread, which any thread may call.
class IWindow : public IWindowThread {
 public:
  virtual ~IWindow() = default;

  // Captions of buttons and texts of edits.
  virtual void SetWindowText(int id, const std::string& text) = 0;
  virtual std::string GetWindowText(int id) const = 0;
  // Length in UTF-16 units, as the user counts characters.
  virtual int GetWindowTextLength(int id) const = 0;
  virtual void EnableWindow(int id, bool enable) = 0;
  virtual bool IsWindowEnabled(int id) const = 0;
  virtual void LimitText(int id, int maxChars) = 0;
  // Inserts at the caret of an edit, after dropping any selection, as an edit that cannot be undone,
  // and scrolls the caret into view. The caret stays at the end unless the user moves it.
  virtual void AppendText(int id, const std::string& text) = 0;

  // Combo boxes keep their items sorted; indices are those of sorted order. -1 stands for CB_ERR.
  virtual int ComboAddString(int id, const std::string& text) = 0;
  virtual int ComboSetCurSel(int id, int index) = 0;
  virtual int ComboGetCurSel(int id) const = 0;
  virtual int ComboGetCount(int id) const = 0;
  virtual void ComboResetContent(int id) = 0;
  // The text shown when the pointer rests on an item of the open list; it stays with its item.
  virtual void ComboSetItemTip(int /*id*/, int /*index*/, const std::string& /*tip*/) {}

  // Report-view lists.
  virtual int ListGetClientWidth(int id) const = 0;
  virtual void ListAddExtendedStyle(int id, unsigned styles) = 0;
  virtual void ListInsertColumn(int id, int column, const std::string& heading, ColumnAlign align, int width) = 0;
  virtual void ListSetImageList(int id, const CImageList& images) = 0;
  virtual int ListGetItemCount(int id) const = 0;
  virtual int ListInsertItem(int id, int row, const std::string& text, int image) = 0;
  virtual void ListSetItemText(int id, int row, int column, const std::string& text) = 0;
  virtual std::string ListGetItemText(int id, int row, int column) const = 0;
  virtual void ListDeleteAllItems(int id) = 0;

  // The IPv4 address control; the first field is the highest byte.
  virtual void IpClearAddress(int id) = 0;
  virtual bool IpIsBlank(int id) const = 0;
  virtual std::uint32_t IpGetAddress(int id) const = 0;
  virtual void IpSetAddress(int id, std::uint32_t address) = 0;

  // Adds a separator and an entry to the window's system menu (or its nearest equivalent).
  // False when the window has no such menu.
  virtual bool AppendSystemMenuItem(int commandId, const std::string& text) = 0;
  virtual void RunAboutBox() = 0;

  // Modal, OK only; returns when the user has pressed OK.
  virtual void MessageBox(const std::string& text) = 0;
  // The one-line strip that says what the link is doing. Never takes the focus or opens a box.
  virtual void SetStatusText(const std::string& text) = 0;

  // One-shot use is up to the logic: a timer fires until killed. Arming a running id restarts it.
  virtual void SetTimer(int id, int milliseconds) = 0;
  virtual void KillTimer(int id) = 0;
};

}  // namespace tolvane
