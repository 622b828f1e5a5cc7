#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "res/DialogTemplates.h"
#include "ui/IWindow.h"

class QComboBox;
class QLabel;
class QTimer;

namespace tolvane {

class CIpAddressEdit;
class CMirlSettingsDlg;
class CReportList;

// The main settings window, built from dialog template 102. It carries out what the logic asks of
// the controls and routes the controls' notifications to the logic.
class CQtMainWindow : public QDialog, public IWindow {
  Q_OBJECT

 public:
  using AboutBoxRunner = std::function<void(QWidget& parent)>;

  explicit CQtMainWindow(TextLanguage language = TextLanguage::English, QWidget* parent = nullptr);
  ~CQtMainWindow() override;

  // The logic that handles this window's notifications; it must outlive the window's last event.
  void AttachDialog(CMirlSettingsDlg* dialog);
  void SetAboutBoxRunner(AboutBoxRunner runner) { m_aboutBoxRunner = std::move(runner); }
  // An entry of the window's menu that the platform adds after the logic's own entries.
  void AddMenuAction(const QString& text, std::function<void()> action);

  TextLanguage Language() const { return m_language; }
  // The widget of a control id; nullptr for ids without a visible part.
  QWidget* Control(int id) const;
  // The entries of the window's menu (the system menu's place): command id and text.
  const std::vector<std::pair<int, QString>>& MenuItems() const { return m_menuItems; }
  bool IsTimerRunning(int id) const;
  QLabel* StatusLine() const { return m_pStatusLine; }

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

 public slots:
  // Every way of closing the window ends here: the close box, the window manager, accept().
  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Wires each control route to the signal that reports its event.
  void ConnectHandlers();
  void CloseOpenBoxes();
  void AddStatusLine();
  // The port field as wide as its longest entry; what stands to its right on its line moves along.
  void FitPortField();

  QComboBox* Combo(int id) const;
  CReportList* List(int id) const;
  CIpAddressEdit* IpAddress(int id) const;

  TextLanguage m_language;
  std::map<int, QWidget*> m_controls;
  std::map<int, QTimer*> m_timers;
  QLabel* m_pStatusLine = nullptr;
  std::map<int, QRect> m_portRowPlaces;  // where the port line's controls stand in the template
  QLabel* m_pImeiLabel = nullptr;
  QRect m_imeiLabelPlace;
  std::vector<std::pair<int, QString>> m_menuItems;
  std::vector<std::pair<QString, std::function<void()>>> m_menuActions;
  AboutBoxRunner m_aboutBoxRunner;
  CMirlSettingsDlg* m_pDialog = nullptr;
  bool m_bDestroyed = false;
};

}  // namespace tolvane
