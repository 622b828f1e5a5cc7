// The radio panels in the real window: list clicks, the signal pictures, what screen readers read,
// and the raw GPS box.
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <memory>

#include "FakePort.h"
#include "qt/QtMainWindow.h"
#include "qt/ReportList.h"
#include "ui/MirlSettingsDlg.h"

using namespace tolvane;
using tolvane::testing::CFakePort;
using tolvane::testing::CFakePortList;

namespace {

// A shown window on a ready fake link, its logic handling the device's messages on this thread.
struct CReadyWindow {
  CReadyWindow() : ports({"COM3 (ttyUSB0)"}), dialog(std::make_unique<CMirlSettingsDlg>(window, port, ports)) {
    window.AttachDialog(dialog.get());
    dialog->OnInitDialog();
    window.show();
    dialog->OnConnect();
    dialog->HandleDeviceMessage("COM:open");
  }
  ~CReadyWindow() { dialog.reset(); }

  CReportList* List(int id) const { return qobject_cast<CReportList*>(window.Control(id)); }
  QPlainTextEdit* RawBox() const { return qobject_cast<QPlainTextEdit*>(window.Control(IDC_GPS_RAW)); }
  void Say(const char* message) { dialog->HandleDeviceMessage(message); }
  void ClickRow(int id, int row) {
    CReportList* list = List(id);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 1)).center());
  }
  QString AccessibleCell(int id, int row, int column, QAccessible::Text kind = QAccessible::Name) const {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(List(id));
    QAccessibleInterface* cell = table->tableInterface()->cellAt(row, column);
    return cell ? cell->text(kind) : QStringLiteral("<none>");
  }

  CFakePortList ports;
  CFakePort port;
  CQtMainWindow window;
  std::unique_ptr<CMirlSettingsDlg> dialog;
};

}  // namespace

class CRadioPanelsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void WifiList_mouseClickOnARowSelectsItBelowTheRowsNothing() {
    CReadyWindow ready;
    ready.dialog->OnOpenWifi();
    ready.Say("WiFi:open");
    ready.Say("WiFi_L:Office^3c:84:6a:01:22:9f^4");
    QVERIFY(!ready.window.Control(IDC_WIFI_CONNECT)->isEnabled());

    ready.ClickRow(IDC_WIFI_LIST, 0);
    QCOMPARE(ready.dialog->GetWifiSelected(), std::string("3c:84:6a:01:22:9f"));
    QCOMPARE(ready.window.GetWindowText(IDC_WIFI_NAME), std::string("Office"));
    QVERIFY(ready.window.Control(IDC_WIFI_CONNECT)->isEnabled());

    CReportList* list = ready.List(IDC_WIFI_LIST);
    const QRect last = list->visualRect(list->model()->index(0, 1));
    QVERIFY(last.bottom() + 5 < list->viewport()->height());
    ready.Say("WiFi_L:Guest^a0:63:91:7e:10:04^1");
    const QRect second = list->visualRect(list->model()->index(1, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(second.center().x(), second.bottom() + 3));
    QCOMPARE(ready.dialog->GetWifiSelected(), std::string("3c:84:6a:01:22:9f"));
  }

  void Lists_keyboardMovesSelectNothing() {
    CReadyWindow ready;
    ready.dialog->OnOpenBt();
    ready.Say("BT:open");
    ready.Say("BT_L:Headset^00:1A:7D:DA:71:13^P");
    ready.Say("BT_L:Speaker^F8:DF:15:3A:9C:02^N");
    ready.ClickRow(IDC_BT_LIST, 1);
    QCOMPARE(ready.window.GetWindowText(IDC_BT_PAIR), std::string("Pair"));

    CReportList* list = ready.List(IDC_BT_LIST);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(ready.dialog->GetBtSelected(), std::string("F8:DF:15:3A:9C:02"));
    QCOMPARE(ready.window.GetWindowText(IDC_BT_PAIR), std::string("Pair"));

    ready.ClickRow(IDC_BT_LIST, 0);
    QCOMPARE(ready.dialog->GetBtSelected(), std::string("00:1A:7D:DA:71:13"));
    QCOMPARE(ready.window.GetWindowText(IDC_BT_PAIR), std::string("Unpair"));
  }

  void WifiList_showsPicturesOnlyForTheLevelsItHas() {
    CReadyWindow ready;
    ready.dialog->OnOpenWifi();
    ready.Say("WiFi_L:Near^11:11^4");
    ready.Say("WiFi_L:Odd^22:22^5");
    ready.Say("WiFi_L:Below^33:33^-1");
    CReportList* list = ready.List(IDC_WIFI_LIST);
    QVERIFY(!list->item(0, 0)->icon().isNull());
    QCOMPARE(list->ItemImage(1), 5);
    QVERIFY(list->item(1, 0)->icon().isNull());
    QVERIFY(list->item(2, 0)->icon().isNull());
  }

  void Lists_rowsAreReadableByScreenReaders() {
    CReadyWindow ready;
    ready.dialog->OnOpenWifi();
    ready.Say("WiFi_N:3c:84:6a:01:22:9f");
    ready.Say("WiFi_L:Café Müller^3c:84:6a:01:22:9f^3");
    QCOMPARE(ready.AccessibleCell(IDC_WIFI_LIST, 0, 0), QStringLiteral("(Connected)"));
    QCOMPARE(ready.AccessibleCell(IDC_WIFI_LIST, 0, 0, QAccessible::Description), QStringLiteral("3/4"));
    QCOMPARE(ready.AccessibleCell(IDC_WIFI_LIST, 0, 1), QStringLiteral("Café Müller"));
    QCOMPARE(ready.AccessibleCell(IDC_WIFI_LIST, 0, 2), QStringLiteral("3c:84:6a:01:22:9f"));

    ready.dialog->OnOpenBt();
    ready.Say("BT:open");
    ready.Say("BT_L:Headset^00:1A:7D:DA:71:13^P");
    QCOMPARE(ready.AccessibleCell(IDC_BT_LIST, 0, 0), QStringLiteral("Headset"));
    QCOMPARE(ready.AccessibleCell(IDC_BT_LIST, 0, 1), QStringLiteral("00:1A:7D:DA:71:13"));
    QCOMPARE(ready.AccessibleCell(IDC_BT_LIST, 0, 2), QStringLiteral("Paired"));
  }

  void GpsRaw_insertsAtTheCaretWithoutUndoAndKeepsWhatIsThere() {
    CReadyWindow ready;
    ready.dialog->OnOpenGps();
    QPlainTextEdit* box = ready.RawBox();
    ready.Say("GPS_R:$GPGGA,1*00\r\n");
    ready.Say("GPS_R:$GPRMC,2*00\r\n");
    QCOMPARE(box->toPlainText(), QStringLiteral("$GPGGA,1*00\n$GPRMC,2*00\n"));
    QCOMPARE(box->blockCount(), 3);
    QCOMPARE(ready.window.GetWindowTextLength(IDC_GPS_RAW), int(box->toPlainText().size()));
    QVERIFY(!box->document()->isUndoAvailable());

    // One change per message: characters added at the end, none removed.
    QList<QList<int>> changes;
    connect(box->document(), &QTextDocument::contentsChange, this, [&changes](int position, int removed, int added) {
      changes.append({position, removed, added});
    });
    const int end = int(box->toPlainText().size());
    ready.Say("GPS_R:abc");
    QCOMPARE(changes, (QList<QList<int>>{{end, 0, 3}}));

    // A caret the user placed elsewhere, with a selection: the selection goes, the text lands at the caret.
    QTextCursor caret = box->textCursor();
    caret.setPosition(1);
    caret.setPosition(3, QTextCursor::KeepAnchor);
    box->setTextCursor(caret);
    ready.Say("GPS_R:XY");
    QCOMPARE(box->toPlainText().left(8), QStringLiteral("$GPXYGGA"));
    QVERIFY(!box->textCursor().hasSelection());
    QCOMPARE(box->textCursor().position(), 5);
    QVERIFY(!box->document()->isUndoAvailable());
  }
};

QTEST_MAIN(CRadioPanelsWindowTest)
#include "RadioPanelsWindowTest.moc"
