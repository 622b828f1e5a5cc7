#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ui/IWindow.h"

namespace tolvane {

// The window without widgets, for tolvane-provision and the tests. Controls are plain state that
// behaves as the Win32 controls do; message boxes are answered at once and kept; timers run on a
// virtual clock that the owner moves on; tasks posted from other threads wait until the owner
// pumps them. The thread that pumps it plays the window's thread.
class CMemoryWindow : public IWindow {
 public:
  struct CColumn {
    std::string heading;
    ColumnAlign align = ColumnAlign::Left;
    int width = 0;
  };
  struct CRow {
    std::vector<std::string> cells;
    int image = -1;
  };
  struct CControl {
    std::string text;
    bool enabled = true;
    int limit = 0;  // 0: no limit set
    std::vector<std::string> items;
    std::vector<std::string> itemTips;  // alongside items
    int selection = -1;
    unsigned listStyles = 0;
    std::vector<CColumn> columns;
    std::vector<CRow> rows;
    const CImageList* images = nullptr;
    std::uint32_t ip = 0;
    bool ipBlank = true;
  };
  static constexpr int kListClientWidth = 366;

  CMemoryWindow() = default;
  CMemoryWindow(const CMemoryWindow&) = delete;
  CMemoryWindow& operator=(const CMemoryWindow&) = delete;

  // IWindow
  void SetWindowText(int id, const std::string& text) override { m_controls[id].text = text; }
  std::string GetWindowText(int id) const override { return At(id).text; }
  int GetWindowTextLength(int id) const override;
  void EnableWindow(int id, bool enable) override { m_controls[id].enabled = enable; }
  bool IsWindowEnabled(int id) const override { return At(id).enabled; }
  void LimitText(int id, int maxChars) override { m_controls[id].limit = maxChars; }
  void AppendText(int id, const std::string& text) override { m_controls[id].text += text; }
  int ComboAddString(int id, const std::string& text) override;
  int ComboSetCurSel(int id, int index) override;
  int ComboGetCurSel(int id) const override { return At(id).selection; }
  int ComboGetCount(int id) const override { return static_cast<int>(At(id).items.size()); }
  void ComboResetContent(int id) override;
  void ComboSetItemTip(int id, int index, const std::string& tip) override;
  int ListGetClientWidth(int) const override { return kListClientWidth; }
  void ListAddExtendedStyle(int id, unsigned styles) override { m_controls[id].listStyles |= styles; }
  void ListInsertColumn(int id, int column, const std::string& heading, ColumnAlign align, int width) override;
  void ListSetImageList(int id, const CImageList& images) override { m_controls[id].images = &images; }
  int ListGetItemCount(int id) const override { return static_cast<int>(At(id).rows.size()); }
  int ListInsertItem(int id, int row, const std::string& text, int image) override;
  void ListSetItemText(int id, int row, int column, const std::string& text) override;
  std::string ListGetItemText(int id, int row, int column) const override;
  void ListDeleteAllItems(int id) override { m_controls[id].rows.clear(); }
  void IpClearAddress(int id) override;
  bool IpIsBlank(int id) const override { return At(id).ipBlank; }
  std::uint32_t IpGetAddress(int id) const override { return At(id).ip; }
  void IpSetAddress(int id, std::uint32_t address) override;
  // No system menu and no About box: there is nothing to show them on.
  bool AppendSystemMenuItem(int, const std::string&) override { return false; }
  void RunAboutBox() override {}
  void MessageBox(const std::string& text) override;
  void SetStatusText(const std::string& text) override { m_strStatus = text; }
  void SetTimer(int id, int milliseconds) override;
  void KillTimer(int id) override { m_timers.erase(id); }
  // Any thread.
  void PostToWindowThread(std::function<void()> task) override;

  // The controls as they stand.
  CControl& At(int id) { return m_controls[id]; }
  const CControl& At(int id) const;
  // Every box shown, in order.
  const std::vector<std::string>& MessageBoxes() const { return m_messageBoxes; }
  const std::string& StatusText() const { return m_strStatus; }

  // Called while a box is "open", before MessageBox returns.
  void SetMessageBoxHook(std::function<void(const std::string&)> hook) { m_onMessageBox = std::move(hook); }

  // Timers: where expiries go (the dialog's OnTimer), and the virtual clock.
  void SetTimerHandler(std::function<void(int id)> handler) { m_onTimer = std::move(handler); }
  bool IsTimerRunning(int id) const { return m_timers.count(id) != 0; }
  int TimerInterval(int id) const;
  long long Now() const { return m_nNow; }
  // Milliseconds from now until the next timer falls due; -1 when none runs.
  long long UntilNextTimer() const;
  // Moves the clock on and fires every timer that falls due, in order of expiry. A window timer
  // repeats until killed.
  void AdvanceClock(long long milliseconds);

  // Posted tasks. The wake handler is called, from whichever thread, whenever there is something
  // to pump (a task posted) or a timer was set; the owner then pumps from the window's thread.
  void SetWakeHandler(std::function<void()> wake);
  int PendingPostedCount() const;
  // Runs the tasks that are waiting; returns how many ran.
  int RunPosted();

 private:
  struct CTimer {
    int interval = 0;
    long long due = 0;
  };
  void Wake();

  std::map<int, CControl> m_controls;
  std::vector<std::string> m_messageBoxes;
  std::string m_strStatus;
  std::function<void(const std::string&)> m_onMessageBox;
  std::map<int, CTimer> m_timers;
  long long m_nNow = 0;
  std::function<void(int)> m_onTimer;

  mutable std::mutex m_postedLock;  // guards the two below
  std::vector<std::function<void()>> m_posted;
  std::function<void()> m_wake;
};

}  // namespace tolvane
