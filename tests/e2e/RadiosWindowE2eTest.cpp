// The radio panels through the real window and port against tolvane-devsim, driven only through
// the window's controls; what the device received is read from its console ("PC says ...").
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "WindowProbe.h"
#include "WindowSession.h"
#include "qt/ReportList.h"

namespace tolvane::e2e {

namespace {

constexpr int kBound = 20'000;
constexpr char kOffice[] = "3c:84:6a:01:22:9f";
constexpr char kSpeaker[] = "F8:DF:15:3A:9C:02";

CReportList* List(CWindowSession& session, int id) { return qobject_cast<CReportList*>(session.Control(id)); }

// The device printed this command whole: its line ends right after it.
bool DeviceGot(CWindowSession& session, const QString& command) {
  return session.WaitForDevice(QStringLiteral("PC says ") + command + '\n');
}

// Clicks a row with the mouse, as a user would once it is there. The device refreshes its lists
// on its own, so the row may be replaced between looking and clicking: true once the click took.
bool ClickRow(CWindowSession& session, int listId, int row, const std::function<bool()>& took) {
  CReportList* list = List(session, listId);
  if (list->rowCount() <= row) return false;
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 1)).center());
  return took();
}

void TypeInto(CWindowSession& session, int id, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(session.Control(id));
  edit->clear();
  QTest::keyClicks(edit, text);
}

}  // namespace

class RadiosWindowE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void wifi_openPickAndJoinWithWrongThenRightPassword() {
    CWindowSession session;
    QVERIFY(session.Start({"--wifi-password", "right pw^1"}));
    QVERIFY(session.ConnectAndWaitReady());
    CReportList* list = List(session, IDC_WIFI_LIST);

    session.Click(IDC_WIFI_OPEN);
    QVERIFY(DeviceGot(session, "WiFi:open"));
    QTRY_COMPARE_WITH_TIMEOUT(session.Button(IDC_WIFI_OPEN)->text(), QStringLiteral("Close Wi-Fi"), kBound);
    QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), 5, kBound);
    QCOMPARE(list->ItemText(1, 1), QStringLiteral("Café Müller"));
    QVERIFY(!list->item(0, 0)->icon().isNull());
    // "Lab^Guest": the name's "^" shifts the fields, and the level read from the address is 0.
    QCOMPARE(list->ItemText(2, 1), QStringLiteral("Lab"));
    QCOMPARE(list->ItemText(2, 2), QStringLiteral("Guest"));
    QCOMPARE(list->ItemImage(2), 0);

    QTRY_VERIFY_WITH_TIMEOUT(
        ClickRow(session, IDC_WIFI_LIST, 0, [&] { return session.Dialog().GetWifiSelected() == kOffice; }), kBound);
    QCOMPARE(session.Window().GetWindowText(IDC_WIFI_NAME), std::string("Office-5G"));
    QVERIFY(session.Control(IDC_WIFI_CONNECT)->isEnabled());

    QString boxText;
    qttest::CWhenReady answer([&] { return qttest::OpenMessageBox(session.Window()) != nullptr; },
                              [&] {
                                QMessageBox* box = qttest::OpenMessageBox(session.Window());
                                boxText = box->text();
                                box->button(QMessageBox::Ok)->click();
                              });
    TypeInto(session, IDC_WIFI_PASSWORD, "wrong");
    session.Click(IDC_WIFI_CONNECT);
    QVERIFY(!session.Control(IDC_WIFI_CONNECT)->isEnabled());
    QVERIFY(DeviceGot(session, QStringLiteral("WiFi_PW:") + kOffice + "^wrong"));
    QTRY_VERIFY_WITH_TIMEOUT(answer.Done(), kBound);
    QCOMPARE(boxText, QStringLiteral("Connect fail, check password,please."));
    QTRY_VERIFY_WITH_TIMEOUT(session.Control(IDC_WIFI_CONNECT)->isEnabled(), kBound);

    TypeInto(session, IDC_WIFI_PASSWORD, "right pw^1");
    session.Click(IDC_WIFI_CONNECT);
    QVERIFY(DeviceGot(session, QStringLiteral("WiFi_PW:") + kOffice + "^right pw^1"));
    QTRY_COMPARE_WITH_TIMEOUT(list->ItemText(0, 0), QStringLiteral("(Connected)"), kBound);
    QCOMPARE(list->ItemText(0, 2), QString(kOffice));
    QTRY_VERIFY_WITH_TIMEOUT(!session.Dialog().IsWifiConnecting(), kBound);
    QVERIFY(qttest::OpenMessageBox(session.Window()) == nullptr);

    session.Click(IDC_WIFI_OPEN);
    QVERIFY(DeviceGot(session, "WiFi:close"));
    QTRY_COMPARE_WITH_TIMEOUT(session.Button(IDC_WIFI_OPEN)->text(), QStringLiteral("Open Wi-Fi"), kBound);
    QCOMPARE(list->rowCount(), 0);
  }

  void bluetooth_openSearchPairAndUnpair() {
    CWindowSession session;
    QVERIFY(session.Start({"--bt-pin", "4321"}));
    QVERIFY(session.ConnectAndWaitReady());
    CReportList* list = List(session, IDC_BT_LIST);
    QVERIFY(!session.Control(IDC_BT_SEARCH)->isEnabled());

    session.Click(IDC_BT_OPEN);
    QVERIFY(DeviceGot(session, "BT:open"));
    QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), 4, kBound);
    QCOMPARE(session.Button(IDC_BT_OPEN)->text(), QStringLiteral("Close BT"));
    QCOMPARE(list->ItemText(0, 2), QStringLiteral("Paired"));
    QCOMPARE(list->ItemText(3, 0), QStringLiteral("Lautsprecher Küche"));

    session.Click(IDC_BT_SEARCH);
    QVERIFY(DeviceGot(session, "BT:research"));
    QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), 4, kBound);

    QVERIFY(ClickRow(session, IDC_BT_LIST, 1, [&] { return session.Dialog().GetBtSelected() == kSpeaker; }));
    QCOMPARE(session.Button(IDC_BT_PAIR)->text(), QStringLiteral("Pair"));
    QVERIFY(session.Control(IDC_BT_PAIR)->isEnabled());

    TypeInto(session, IDC_BT_PIN, "1111");
    session.Click(IDC_BT_PAIR);
    QVERIFY(DeviceGot(session, QStringLiteral("BT:") + kSpeaker + "^pair^1111"));
    QTRY_VERIFY_WITH_TIMEOUT(session.Control(IDC_BT_PAIR)->isEnabled(), kBound);
    QCOMPARE(session.Button(IDC_BT_PAIR)->text(), QStringLiteral("Pair"));
    QCOMPARE(list->ItemText(1, 2), QString());

    TypeInto(session, IDC_BT_PIN, "4321");
    session.Click(IDC_BT_PAIR);
    QVERIFY(DeviceGot(session, QStringLiteral("BT:") + kSpeaker + "^pair^4321"));
    QTRY_COMPARE_WITH_TIMEOUT(list->ItemText(1, 2), QStringLiteral("Paired"), kBound);
    QTRY_COMPARE_WITH_TIMEOUT(session.Button(IDC_BT_PAIR)->text(), QStringLiteral("Unpair"), kBound);
    QTRY_VERIFY_WITH_TIMEOUT(session.Control(IDC_BT_PAIR)->isEnabled(), kBound);

    session.Click(IDC_BT_PAIR);
    QVERIFY(DeviceGot(session, QStringLiteral("BT:") + kSpeaker + "^unpair"));
    QTRY_COMPARE_WITH_TIMEOUT(session.Button(IDC_BT_PAIR)->text(), QStringLiteral("Pair"), kBound);
    QCOMPARE(list->ItemText(1, 2), QString());
    QCOMPARE(list->rowCount(), 4);
  }

  // Under a bad cable as well: answers in pieces with junk between them.
  void gps_openRawDataArrivesThenClose() {
    CWindowSession session;
    QVERIFY(session.Start({"--split", "--garbage", "--seed", "7"}));
    QVERIFY(session.ConnectAndWaitReady());
    auto* raw = qobject_cast<QPlainTextEdit*>(session.Control(IDC_GPS_RAW));

    session.Click(IDC_GPS_OPEN);
    QVERIFY(DeviceGot(session, "GPS:open"));
    QTRY_COMPARE_WITH_TIMEOUT(session.Button(IDC_GPS_OPEN)->text(), QStringLiteral("Close GPS"), kBound);
    static const QRegularExpression sentence(QStringLiteral("\\$GPRMC,\\d{6}\\.00,[AV],[^\\n]*\\*[0-9A-F]{2}\\n"));
    QTRY_VERIFY_WITH_TIMEOUT(sentence.match(raw->toPlainText()).hasMatch(), kBound);
    QTRY_COMPARE_WITH_TIMEOUT(session.Window().GetWindowText(IDC_GPS_STATUS), std::string("searching"), kBound);
    QVERIFY(!session.Window().GetWindowText(IDC_GPS_SATELLITES).empty());

    session.Click(IDC_GPS_OPEN);
    QVERIFY(DeviceGot(session, "GPS:close"));
    QTRY_COMPARE_WITH_TIMEOUT(session.Button(IDC_GPS_OPEN)->text(), QStringLiteral("Open GPS"), kBound);
    QCOMPARE(raw->toPlainText(), QString());
    QCOMPARE(session.Window().GetWindowText(IDC_GPS_STATUS), std::string());
  }
};

}  // namespace tolvane::e2e

QTEST_MAIN(tolvane::e2e::RadiosWindowE2eTest)
#include "RadiosWindowE2eTest.moc"
