// The window with its logic: start-up, the control operations, closing, the menu and timers.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <utility>

#include "FakePort.h"
#include "WindowProbe.h"
#include "WiredWindow.h"
#include "qt/QtMainWindow.h"
#include "qt/ReportList.h"
#include "res/SignalPictures.h"
#include "ui/MirlSettingsDlg.h"

using namespace tolvane;
using namespace tolvane::qttest;
using tolvane::testing::CFakePort;
using tolvane::testing::CFakePortList;

namespace {

constexpr int kCommandButtons[] = {IDC_WRITE_IMEI,       IDC_WIFI_OPEN,    IDC_WIFI_CONNECT, IDC_BT_OPEN,
                                   IDC_BT_PAIR,          IDC_BT_SEARCH,    IDC_GPS_OPEN,     IDC_UPDATE_IP,
                                   IDC_UPDATE_DOMAIN,    IDC_SET_ACCOUNT,  IDC_SET_APN,      IDC_CLEAR_APN,
                                   IDC_UPDATE_DEALER_PW, IDC_SET_LANGUAGE, IDC_SET_NETWORK,  IDC_FACTORY_RESET};

// What an edit holds after the user types `keys` into it, empty at first.
QString TypedInto(CQtMainWindow& window, int id, const char* keys) {
  auto* edit = qobject_cast<QLineEdit*>(window.Control(id));
  edit->clear();
  QTest::keyClicks(edit, keys);
  return edit->text();
}

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QStringList Headings(const CReportList* list) {
  QStringList headings;
  for (int i = 0; i < list->columnCount(); ++i) headings << list->horizontalHeaderItem(i)->text();
  return headings;
}

}  // namespace

class CMainWindowStartupTest : public QObject {
  Q_OBJECT

 private slots:
  void Startup_withPorts_selectsFirstSortedPortAndDisablesCommands();
  void Startup_withPorts_setsUpListsInThirdsOfClientWidth();
  void Startup_withoutPorts_opensWithNothingElseDone();
  void PortCombo_userChoice_updatesPortNumber();
  void EditLimit_bindsTypingButKeepsWhatTheProgramSets();
  void WifiList_rowImages_showSignalPicturesFirstColumnLeft();
  void EnterOrEscape_inFieldComboOrList_keepWindowLinkAndTyping_data();
  void EnterOrEscape_inFieldComboOrList_keepWindowLinkAndTyping();
  void Enter_onFocusedButton_clicksIt();
  void CloseBox_closesOnceAndRunsDestroyOnce();
  void ContextMenu_aboutEntry_opensAboutBox();
  void Timer_expiry_reachesLogicWhichShowsItsBox();
};

void CMainWindowStartupTest::Startup_withPorts_selectsFirstSortedPortAndDisablesCommands() {
  CWiredWindow wired({"COM2 (ttyS1)", "COM10 (ttyUSB0)", "COM1 (ttyS0)"});
  QVERIFY(wired.dialog->OnInitDialog());
  QComboBox* ports = wired.Combo(IDC_PORT);
  QCOMPARE(Items(ports), QStringList({"COM1 (ttyS0)", "COM10 (ttyUSB0)", "COM2 (ttyS1)"}));
  QCOMPARE(ports->currentIndex(), 0);
  QCOMPARE(ports->currentText(), QString("COM1 (ttyS0)"));
  QCOMPARE(ports->lineEdit()->cursorPosition(), 0);  // the field shows the start of the entry
  QCOMPARE(wired.dialog->GetComPort(), 1);
  for (const int id : kCommandButtons)
    QVERIFY2(!wired.window.Control(id)->isEnabled(), qPrintable(QString::number(id)));
  QVERIFY(wired.window.Control(IDC_CONNECT)->isEnabled());
  QCOMPARE(TypedInto(wired.window, IDC_IMEI, "12345678901234567890"), QString("123456789012345"));
  QCOMPARE(TypedInto(wired.window, IDC_BT_PIN, "1234567890"), QString("12345678"));
  QCOMPARE(Items(wired.Combo(IDC_LANGUAGE)), QStringList({"English", "中文简体"}));
  QCOMPARE(wired.Combo(IDC_LANGUAGE)->currentText(), QString("English"));
  QCOMPARE(Items(wired.Combo(IDC_NETWORK_TYPE)), QStringList({"2G", "3G", "3G/2G"}));
  QCOMPARE(wired.Combo(IDC_NETWORK_TYPE)->currentText(), QString("3G/2G"));
  QVERIFY(wired.window.IpIsBlank(IDC_SERVER_IP));
  QCOMPARE(wired.window.MenuItems().size(), std::size_t{1});
  QCOMPARE(wired.window.MenuItems().front().first, IDM_ABOUTBOX);
  QCOMPARE(wired.window.MenuItems().front().second, QString("About Tolvane(&A)..."));
}

void CMainWindowStartupTest::Startup_withPorts_setsUpListsInThirdsOfClientWidth() {
  CWiredWindow wired({"COM3 (ttyUSB0)"});
  wired.dialog->OnInitDialog();
  CReportList* wifi = wired.List(IDC_WIFI_LIST);
  CReportList* bt = wired.List(IDC_BT_LIST);
  QCOMPARE(Headings(wifi), QStringList({"Signal-strength", "Name", "Address"}));
  QCOMPARE(Headings(bt), QStringList({"Name", "Address", "Status"}));
  QVERIFY(wifi->showGrid());
  QVERIFY(bt->showGrid());
  QCOMPARE(wifi->ImageCount(), 5);
  QCOMPARE(bt->ImageCount(), 0);
  // The width read before the window is shown is the width the rows get once it is.
  wired.ShowActive();
  for (CReportList* list : {wifi, bt}) {
    QCOMPARE(list->ClientWidth(), list->viewport()->width());
    for (int column = 0; column < 3; ++column) QCOMPARE(list->columnWidth(column), list->viewport()->width() / 3);
  }
}

void CMainWindowStartupTest::Startup_withoutPorts_opensWithNothingElseDone() {
  CWiredWindow wired({});
  QVERIFY(wired.dialog->OnInitDialog());
  wired.ShowActive();
  QVERIFY(wired.window.isVisible());
  QCOMPARE(wired.Combo(IDC_PORT)->count(), 0);
  QCOMPARE(wired.Combo(IDC_LANGUAGE)->count(), 0);
  QCOMPARE(wired.Combo(IDC_NETWORK_TYPE)->count(), 0);
  QCOMPARE(wired.List(IDC_WIFI_LIST)->columnCount(), 0);
  QCOMPARE(wired.List(IDC_BT_LIST)->columnCount(), 0);
  QCOMPARE(wired.List(IDC_WIFI_LIST)->ImageCount(), 0);
  for (const int id : kCommandButtons) QVERIFY(wired.window.Control(id)->isEnabled());
  QCOMPARE(TypedInto(wired.window, IDC_IMEI, "12345678901234567890"), QString("123456789012345"));
  QCOMPARE(TypedInto(wired.window, IDC_BT_PIN, "1234567890"), QString("1234567890"));
  QCOMPARE(OpenMessageBox(wired.window), nullptr);
  QCOMPARE(wired.port.openCount, 0);
}

void CMainWindowStartupTest::PortCombo_userChoice_updatesPortNumber() {
  CWiredWindow wired({"COM1 (ttyS0)", "COM10 (ttyUSB0)"});
  wired.dialog->OnInitDialog();
  wired.ShowActive();
  wired.Combo(IDC_PORT)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  QCOMPARE(wired.Combo(IDC_PORT)->currentIndex(), 1);
  QCOMPARE(wired.dialog->GetComPort(), 10);
  // Selections the logic makes itself do not notify.
  wired.window.ComboSetCurSel(IDC_PORT, 0);
  QCOMPARE(wired.dialog->GetComPort(), 10);
}

void CMainWindowStartupTest::EditLimit_bindsTypingButKeepsWhatTheProgramSets() {
  CWiredWindow wired({"COM1 (ttyS0)"});
  wired.dialog->OnInitDialog();
  auto* imei = qobject_cast<QLineEdit*>(wired.window.Control(IDC_IMEI));
  wired.window.SetWindowText(IDC_IMEI, "12345678901234567");
  QCOMPARE(imei->text(), QString("12345678901234567"));
  imei->setFocus();
  imei->end(false);
  QTest::keyClick(imei, Qt::Key_8);
  QCOMPARE(imei->text(), QString("12345678901234567"));
  QTest::keyClick(imei, Qt::Key_Backspace);
  QCOMPARE(imei->text(), QString("1234567890123456"));

  wired.window.SetWindowText(IDC_IMEI, "86A");  // digits-only binds typing, not the device's answer
  QCOMPARE(imei->text(), QString("86A"));
  QTest::keyClicks(imei, "B1");
  QCOMPARE(imei->text(), QString("86A1"));
}

void CMainWindowStartupTest::WifiList_rowImages_showSignalPicturesFirstColumnLeft() {
  CWiredWindow wired({"COM1 (ttyS0)"});
  wired.dialog->OnInitDialog();
  CQtMainWindow& window = wired.window;
  QCOMPARE(window.ListInsertItem(IDC_WIFI_LIST, 0, "", 4), 0);
  QCOMPARE(window.ListInsertItem(IDC_WIFI_LIST, 7, "", 0), 1);  // beyond the end: appended
  window.ListSetItemText(IDC_WIFI_LIST, 0, 1, "Office");
  window.ListSetItemText(IDC_WIFI_LIST, 0, 2, "3c:84:6a:01:22:9f");
  QCOMPARE(window.ListGetItemCount(IDC_WIFI_LIST), 2);
  QCOMPARE(window.ListGetItemText(IDC_WIFI_LIST, 0, 2), std::string("3c:84:6a:01:22:9f"));
  QCOMPARE(window.ListGetItemText(IDC_WIFI_LIST, 5, 0), std::string());

  CReportList* list = wired.List(IDC_WIFI_LIST);
  QCOMPARE(list->ItemImage(0), 4);
  const QImage shown = list->item(0, 0)->icon().pixmap(list->iconSize()).toImage();
  const CPicture expected = DrawSignalPicture(4);
  QCOMPARE(shown.size(), QSize(expected.width, expected.height));
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x) QCOMPARE(shown.pixel(x, y) & 0xFFFFFFu, expected.At(x, y));
  QVERIFY(list->rowHeight(0) >= expected.height);
  // Centred was asked for every column; the first stays left-aligned.
  QCOMPARE(list->item(0, 0)->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignLeft));
  QCOMPARE(list->item(0, 1)->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignHCenter));

  window.ListDeleteAllItems(IDC_WIFI_LIST);
  QCOMPARE(window.ListGetItemCount(IDC_WIFI_LIST), 0);
  QCOMPARE(list->columnCount(), 3);
}

void CMainWindowStartupTest::EnterOrEscape_inFieldComboOrList_keepWindowLinkAndTyping_data() {
  QTest::addColumn<int>("id");
  QTest::addColumn<int>("key");
  for (const auto& [name, key] : {std::pair{"Enter", int(Qt::Key_Return)}, std::pair{"Esc", int(Qt::Key_Escape)}}) {
    QTest::addRow("%s in APN edit", name) << int(IDC_APN_NAME) << key;
    QTest::addRow("%s in read-only edit", name) << int(IDC_GPS_STATUS) << key;
    QTest::addRow("%s in port combo", name) << int(IDC_PORT) << key;
    QTest::addRow("%s in Wi-Fi list", name) << int(IDC_WIFI_LIST) << key;
    QTest::addRow("%s in GPS raw data", name) << int(IDC_GPS_RAW) << key;
    QTest::addRow("%s in IP address", name) << int(IDC_SERVER_IP) << key;
  }
}

void CMainWindowStartupTest::EnterOrEscape_inFieldComboOrList_keepWindowLinkAndTyping() {
  QFETCH(int, id);
  QFETCH(int, key);
  CWiredWindow wired({"COM1 (ttyS0)"});
  wired.dialog->OnInitDialog();
  wired.ShowActive();
  wired.dialog->OnConnect();
  QVERIFY(wired.port.IsOpen());
  QTest::keyClicks(wired.window.Control(IDC_ACCOUNT), "unit7");
  wired.window.Control(id)->setFocus();
  QCOMPARE(OwningControlId(QApplication::focusWidget()), id);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
  QVERIFY(wired.window.isVisible());
  QVERIFY(wired.port.IsOpen());
  QVERIFY(wired.dialog->IsRunning());
  QCOMPARE(wired.window.GetWindowText(IDC_ACCOUNT), std::string("unit7"));
}

void CMainWindowStartupTest::Enter_onFocusedButton_clicksIt() {
  CWiredWindow wired({"COM4 (ttyUSB1)"});
  wired.dialog->OnInitDialog();
  wired.ShowActive();
  for (const QPushButton* button : wired.window.findChildren<QPushButton*>()) QVERIFY(!button->isDefault());
  wired.window.Control(IDC_CONNECT)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(wired.window.isVisible());
  QCOMPARE(wired.port.openCount, 1);
  QCOMPARE(wired.port.openedPort, 4);
  QCOMPARE(wired.window.GetWindowText(IDC_CONNECT), std::string("Close"));
  QTest::mouseClick(wired.window.Control(IDC_CONNECT), Qt::LeftButton);
  QVERIFY(!wired.port.IsOpen());
  QCOMPARE(wired.window.GetWindowText(IDC_CONNECT), std::string("Connect"));
}

void CMainWindowStartupTest::CloseBox_closesOnceAndRunsDestroyOnce() {
  CWiredWindow wired({"COM1 (ttyS0)"});
  wired.dialog->OnInitDialog();
  wired.ShowActive();
  wired.dialog->OnConnect();
  QVERIFY(wired.window.close());
  QVERIFY(!wired.window.isVisible());
  QCOMPARE(wired.window.result(), int(QDialog::Rejected));
  QCOMPARE(wired.port.closeCount, 1);
  QCOMPARE(wired.port.Writes().back(), std::string("COM:close~"));
  // Later close requests find the logic detached: a port opened behind its back stays open.
  wired.port.Open(1, 0, 0);
  wired.window.show();
  QVERIFY(wired.window.close());
  wired.window.accept();
  QCOMPARE(wired.port.closeCount, 1);
}

void CMainWindowStartupTest::ContextMenu_aboutEntry_opensAboutBox() {
  CWiredWindow wired({"COM1 (ttyS0)"});
  wired.dialog->OnInitDialog();
  wired.ShowActive();
  QString entry;
  CWhenReady pick([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; },
                  [&entry] {
                    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    QAction* about = menu->actions().value(0);
                    entry = about->text();
                    about->trigger();
                    menu->close();
                  });
  const QPoint background(2, wired.window.height() - 2);
  QContextMenuEvent click(QContextMenuEvent::Mouse, background, wired.window.mapToGlobal(background));
  QApplication::sendEvent(&wired.window, &click);
  QVERIFY(pick.Done());
  QCOMPARE(entry, QString("About Tolvane(&A)..."));
  QCOMPARE(wired.aboutBoxes, 1);
  // System commands 16 to 31 open it as well; 32 does not.
  wired.dialog->OnSysCommand(31);
  wired.dialog->OnSysCommand(32);
  QCOMPARE(wired.aboutBoxes, 2);
}

void CMainWindowStartupTest::Timer_expiry_reachesLogicWhichShowsItsBox() {
  CWiredWindow wired({"COM1 (ttyS0)"});
  wired.dialog->OnInitDialog();
  wired.ShowActive();
  QString text, title;
  CWhenReady answer([&wired] { return OpenMessageBox(wired.window) != nullptr; },
                    [&] {
                      QMessageBox* box = OpenMessageBox(wired.window);
                      text = box->text();
                      title = box->windowTitle();
                      box->button(QMessageBox::Ok)->click();
                    });
  wired.window.SetTimer(TIMER_UPDATE_IP, 1);
  QVERIFY(wired.window.IsTimerRunning(TIMER_UPDATE_IP));
  QTRY_VERIFY_WITH_TIMEOUT(answer.Done(), 10000);
  QCOMPARE(text, QString("Parlo apk without response"));
  QCOMPARE(title, QString("Tolvane"));
  QVERIFY(!wired.window.IsTimerRunning(TIMER_UPDATE_IP));  // the handler killed it
  wired.window.SetTimer(TIMER_SET_APN, 60000);
  wired.window.KillTimer(TIMER_SET_APN);
  QVERIFY(!wired.window.IsTimerRunning(TIMER_SET_APN));
}

QTEST_MAIN(CMainWindowStartupTest)
#include "MainWindowStartupTest.moc"
