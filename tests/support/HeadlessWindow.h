#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ui/IWindow.h"

namespace tolvane::testing {

// A window without a screen: it keeps what each control holds, records every message box, runs its
// timers on a clock the test advances, and runs posted tasks when the test pumps it. The thread
// that pumps it plays the window's thread.
class CHeadlessWindow : public IWindow {
 public:
  struct Column {
    std::string heading;
    ColumnAlign align = ColumnAlign::Left;
    int width = 0;
  };
  struct Row {
    std::vector<std::string> cells;
    int image = -1;
  };
  struct Control {
    std::string text;
    bool enabled = true;
    int limit = 0;  // 0: no limit set
    std::vector<std::string> items;
    std::vector<std::string> itemTips;  // alongside items
    int selection = -1;
    unsigned listStyles = 0;
    std::vector<Column> columns;
    std::vector<Row> rows;
    const CImageList* images = nullptr;
    std::uint32_t ip = 0;
    bool ipBlank = true;
  };

  // IWindow
  void SetWindowText(int id, const std::string& text) override;
  std::string GetWindowText(int id) const override;
  int GetWindowTextLength(int id) const override;
  void EnableWindow(int id, bool enable) override;
  bool IsWindowEnabled(int id) const override;
  void LimitText(int id, int maxChars) override;
  void AppendText(int id, const std::string& text) override;
  int ComboAddString(int id, const std::string& text) override;
  int ComboSetCurSel(int id, int index) override;
  int ComboGetCurSel(int id) const override;
  int ComboGetCount(int id) const override;
  void ComboResetContent(int id) override;
  void ComboSetItemTip(int id, int index, const std::string& tip) override;
  int ListGetClientWidth(int id) const override;
  void ListAddExtendedStyle(int id, unsigned styles) override;
  void ListInsertColumn(int id, int column, const std::string& heading, ColumnAlign align, int width) override;
  void ListSetImageList(int id, const CImageList& images) override;
  int ListGetItemCount(int id) const override;
  int ListInsertItem(int id, int row, const std::string& text, int image) override;
  void ListSetItemText(int id, int row, int column, const std::string& text) override;
  std::string ListGetItemText(int id, int row, int column) const override;
  void ListDeleteAllItems(int id) override;
  void IpClearAddress(int id) override;
  bool IpIsBlank(int id) const override;
  std::uint32_t IpGetAddress(int id) const override;
  void IpSetAddress(int id, std::uint32_t address) override;
  bool AppendSystemMenuItem(int commandId, const std::string& text) override;
  void RunAboutBox() override { ++aboutBoxesShown; }
  void MessageBox(const std::string& text) override;
  void SetStatusText(const std::string& text) override { statusText = text; }
  void SetTimer(int id, int milliseconds) override;
  void KillTimer(int id) override;
  void PostToWindowThread(std::function<void()> task) override;

  // Test side.
  Control& At(int id) { return m_controls[id]; }
  const Control& At(int id) const;
  std::vector<std::string> MessageBoxes() const;

  void SetTimerHandler(std::function<void(int)> handler) { m_onTimer = std::move(handler); }
  // Called while a message box is "open", before it returns.
  void SetMessageBoxHook(std::function<void(const std::string&)> hook) { m_onMessageBox = std::move(hook); }
  bool IsTimerRunning(int id) const;
  int TimerInterval(int id) const;
  // Moves the clock on and fires every timer that falls due, in order of expiry.
  void AdvanceClock(int milliseconds);

  int PendingPostedCount() const;
  // Runs the posted tasks that are waiting; returns how many ran.
  int RunPosted();
  // Pumps posted tasks until `done` holds or the bound passes; returns `done()`.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(10));

  int clientWidth = 366;
  bool hasSystemMenu = true;
  bool failComboCount = false;
  int aboutBoxesShown = 0;
  std::string statusText;
  std::vector<std::pair<int, std::string>> systemMenu;

 private:
  struct Timer {
    int interval = 0;
    long long due = 0;
  };
  std::map<int, Control> m_controls;
  std::map<int, Timer> m_timers;
  long long m_now = 0;
  std::vector<std::string> m_messageBoxes;
  std::function<void(int)> m_onTimer;
  std::function<void(const std::string&)> m_onMessageBox;

  mutable std::mutex m_postedLock;
  std::vector<std::function<void()>> m_posted;
};

}  // namespace tolvane::testing
