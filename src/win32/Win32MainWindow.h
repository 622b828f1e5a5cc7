#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "res/DialogTemplates.h"
#include "ui/IWindow.h"
#include "win32/ComboItemTips.h"
#include "win32/Win32ImageList.h"
#include "win32/WinApi.h"
#include "win32/WindowTaskQueue.h"

namespace tolvane {

class CMirlSettingsDlg;

namespace win32 {

// The main settings window: a dialog built at run time from template 102 with the platform's own
// controls. It carries out what the logic asks of the controls and routes their notifications to
// the logic. Everything runs on the thread that created it, except PostToWindowThread.
class CWin32MainWindow : public IWindow {
 public:
  using AboutBoxRunner = std::function<void(HWND owner)>;

  explicit CWin32MainWindow(TextLanguage language = TextLanguage::English, HINSTANCE instance = nullptr);
  ~CWin32MainWindow() override;
  CWin32MainWindow(const CWin32MainWindow&) = delete;
  CWin32MainWindow& operator=(const CWin32MainWindow&) = delete;

  // The logic that handles this window's notifications; it must outlive the window's last message.
  void AttachDialog(CMirlSettingsDlg* dialog) { m_pDialog = dialog; }
  void SetAboutBoxRunner(AboutBoxRunner runner) { m_aboutBoxRunner = std::move(runner); }
  // An entry of the window's right-click menu.
  void AddMenuAction(const std::string& text, std::function<void()> action);
  // A window of the program's own that is not modal: its keys go through the dialog keyboard
  // handling (Tab, Enter on a button) of the window's loop. It stays listed until it is destroyed.
  void AddModelessWindow(HWND window) { m_modeless.push_back(window); }

  // Shows the window and runs its messages until it is destroyed or the thread is asked to quit.
  void RunModal();
  // Ends the window as its close box does. Nothing happens once it is gone.
  void Destroy();

  HWND Handle() const { return m_hWnd; }
  bool IsCreated() const { return m_hWnd != nullptr; }
  HWND Control(int id) const;
  TextLanguage Language() const { return m_language; }
  bool IsTimerRunning(int id) const { return m_timers.count(id) != 0; }
  // The tips of a combo box's items; null while it has none.
  const CComboItemTips* ItemTips(int id) const;

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
  void RunAboutBox() override;
  void MessageBox(const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void SetTimer(int id, int milliseconds) override;
  void KillTimer(int id) override;
  void PostToWindowThread(std::function<void()> task) override;

  // The message that runs posted tasks.
  static constexpr UINT kRunTaskMessage = WM_APP + 1;
  // The status strip below the template area: not in the template, so an id of its own.
  static constexpr int kStatusStripId = 1100;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitWindow();
  void AddStatusStrip();
  void OnWindowDestroyed();
  // Onto the dialog's control routes (Win32MainWindowHandlers.cpp). True when a handler took it.
  bool RouteCommand(int id, int notifyCode);
  bool RouteListClick(int id, int row);
  void OnContextMenu(HWND clicked, LPARAM screenPoint);
  bool IsModelessMessage(MSG& message);

  LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  HINSTANCE m_hInstance;
  TextLanguage m_language;
  HWND m_hWnd = nullptr;
  HICON m_hIconLarge = nullptr;
  HICON m_hIconSmall = nullptr;
  std::unique_ptr<CWindowTaskQueue> m_tasks;
  std::set<int> m_timers;
  std::map<int, std::unique_ptr<CWin32ImageList>> m_imageLists;
  std::map<int, std::unique_ptr<CComboItemTips>> m_itemTips;
  std::vector<std::pair<std::string, std::function<void()>>> m_menuActions;
  std::vector<HWND> m_modeless;
  AboutBoxRunner m_aboutBoxRunner;
  CMirlSettingsDlg* m_pDialog = nullptr;
  bool m_bDestroyed = false;
};

}  // namespace win32
}  // namespace tolvane
