#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/IWindow.h"

class QTimer;

namespace tolvane {

// The settings window without widgets, for tolvane-provision. Controls are plain state, message
// boxes are answered at once and kept as lines for the report, timers are real timers on the Qt
// event loop, and work posted from the link's threads runs as a queued call on this thread.
// Whoever drives it hears, after the fact and never from inside a handler, that something happened.
class CCliWindow : public IWindow {
 public:
  CCliWindow();
  ~CCliWindow() override;
  CCliWindow(const CCliWindow&) = delete;
  CCliWindow& operator=(const CCliWindow&) = delete;

  // Where timer expiries go: the dialog's OnTimer.
  void SetTimerHandler(std::function<void(int id)> handler) { m_onTimer = std::move(handler); }
  // Called from the event loop once a device message was handled, a timer ran out, a box was shown
  // or the link status changed. Several changes in a row are told once.
  void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

  // What the boxes said, in order.
  const std::vector<std::string>& MessageBoxes() const { return m_messageBoxes; }
  const std::string& StatusText() const { return m_strStatus; }
  // How often the timer ran out since the window was made.
  int TimerExpiries(int id) const;
  bool IsTimerRunning(int id) const;

  // The text that the device last put into a control through one of its messages (its IMEI, its
  // address, its language or network type); nothing when it has not since the last Forget.
  std::optional<std::string> DeviceShown(int id) const;
  void ForgetDeviceShown() { m_deviceShown.clear(); }

  // The user's side: what a person does with the controls before pressing a button.
  void Type(int id, const std::string& text) { At(id).text = text; }
  // Selects the item with exactly this text; false when the combo box has none.
  bool PickItem(int id, const std::string& item);
  // The row whose column holds exactly this text; -1 when none does.
  int FindRow(int id, int column, const std::string& text) const;

  // IWindow
  void SetWindowText(int id, const std::string& text) override;
  std::string GetWindowText(int id) const override;
  int GetWindowTextLength(int id) const override;
  void EnableWindow(int id, bool enable) override { At(id).enabled = enable; }
  bool IsWindowEnabled(int id) const override;
  void LimitText(int, int) override {}
  void AppendText(int id, const std::string& text) override { At(id).text += text; }
  int ComboAddString(int id, const std::string& text) override;
  int ComboSetCurSel(int id, int index) override;
  int ComboGetCurSel(int id) const override;
  int ComboGetCount(int id) const override;
  void ComboResetContent(int id) override;
  int ListGetClientWidth(int) const override { return kListWidth; }
  void ListAddExtendedStyle(int, unsigned) override {}
  void ListInsertColumn(int, int, const std::string&, ColumnAlign, int) override {}
  void ListSetImageList(int, const CImageList&) override {}
  int ListGetItemCount(int id) const override;
  int ListInsertItem(int id, int row, const std::string& text, int image) override;
  void ListSetItemText(int id, int row, int column, const std::string& text) override;
  std::string ListGetItemText(int id, int row, int column) const override;
  void ListDeleteAllItems(int id) override { At(id).rows.clear(); }
  void IpClearAddress(int id) override { At(id).address.reset(); }
  bool IpIsBlank(int id) const override;
  std::uint32_t IpGetAddress(int id) const override;
  void IpSetAddress(int id, std::uint32_t address) override;
  bool AppendSystemMenuItem(int, const std::string&) override { return false; }
  void RunAboutBox() override {}
  void MessageBox(const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void SetTimer(int id, int milliseconds) override;
  void KillTimer(int id) override;
  void PostToWindowThread(std::function<void()> task) override;

 private:
  static constexpr int kListWidth = 360;

  struct CControl {
    std::string text;
    bool enabled = true;
    std::vector<std::string> items;
    int selection = -1;
    std::vector<std::vector<std::string>> rows;
    std::optional<std::uint32_t> address;
  };

  CControl& At(int id) { return m_controls[id]; }
  const CControl* Find(int id) const;
  void NoteDeviceShown(int id, const std::string& text);
  void TellChange();

  // Queued calls and timers hang on it, so that none outlives the window.
  std::unique_ptr<QObject> m_pContext;
  std::map<int, CControl> m_controls;
  std::map<int, QTimer*> m_timers;
  std::map<int, int> m_expiries;
  std::vector<std::string> m_messageBoxes;
  std::string m_strStatus;
  std::map<int, std::string> m_deviceShown;
  int m_nPostedDepth = 0;
  bool m_bChangePending = false;
  std::function<void(int)> m_onTimer;
  std::function<void()> m_onChange;
};

}  // namespace tolvane
