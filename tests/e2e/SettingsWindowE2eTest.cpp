// The configuration commands through the real window, on the real port, against tolvane-devsim:
// what each button puts on the line, what the device answers and what the window then shows.
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <functional>

#include "../qt/WindowProbe.h"
#include "WindowSession.h"
#include "qt/IpAddressEdit.h"

namespace tolvane::e2e {

namespace {

using qttest::CWhenReady;
using qttest::OpenMessageBox;

constexpr int kBound = 20'000;
const QString kNoBox = QStringLiteral("(no message box)");

// Replaces the text of an edit (or an editable combo box) with the keyboard.
void TypeInto(QWidget* widget, const QString& text) {
  QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
  if (auto* combo = qobject_cast<QComboBox*>(widget)) edit = combo->lineEdit();
  QVERIFY(edit);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
  QCOMPARE(edit->text(), text);
}

void TypeAddress(CWindowSession& session, const QStringList& parts) {
  auto* address = qobject_cast<CIpAddressEdit*>(session.Control(IDC_SERVER_IP));
  QVERIFY(address);
  for (int i = 0; i < CIpAddressEdit::kFieldCount; ++i) TypeInto(address->Field(i), parts[i]);
}

QString AddressShown(CWindowSession& session) {
  auto* address = qobject_cast<CIpAddressEdit*>(session.Control(IDC_SERVER_IP));
  return address ? address->Text() : QString();
}

QString ComboText(CWindowSession& session, int id) {
  auto* combo = qobject_cast<QComboBox*>(session.Control(id));
  return combo ? combo->currentText() : QString();
}

QString EditText(CWindowSession& session, int id) {
  auto* edit = qobject_cast<QLineEdit*>(session.Control(id));
  return edit ? edit->text() : QString();
}

// Clicks a button and answers the message box that follows with OK. `whileOpen` looks at the
// window while the box is up. The text of the box, or kNoBox when none came.
QString ClickAndAnswer(CWindowSession& session, int buttonId, const std::function<void()>& whileOpen = {}) {
  QString text = kNoBox;
  CWhenReady answer([&session] { return OpenMessageBox(session.Window()) != nullptr; },
                    [&] {
                      QMessageBox* box = OpenMessageBox(session.Window());
                      text = box->text();
                      if (whileOpen) whileOpen();
                      box->button(QMessageBox::Ok)->click();
                    });
  session.Click(buttonId);
  if (!QTest::qWaitFor([&answer] { return answer.Done(); }, kBound)) return kNoBox;
  return text;
}

// Clicks a button whose press must do nothing: no box, then or while it runs.
bool ClickDoesNothingVisible(CWindowSession& session, int buttonId) {
  CWhenReady answer([&session] { return OpenMessageBox(session.Window()) != nullptr; },
                    [&session] { OpenMessageBox(session.Window())->button(QMessageBox::Ok)->click(); });
  session.Click(buttonId);
  return !answer.Done();
}

// What the device received, one "PC says" line per command.
QString Said(const QString& command) { return QStringLiteral("PC says ") + command + QLatin1Char('\n'); }

int TimesSaid(CWindowSession& session, const QString& command) {
  return static_cast<int>(session.Device().Output().count(Said(command)));
}

bool IsEnabled(CWindowSession& session, int id) { return session.Control(id)->isEnabled(); }

}  // namespace

class SettingsWindowE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void deviceReportsFillTheWindowOnConnect() {
    CWindowSession session;
    QVERIFY(session.Start());
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(EditText(session, IDC_IMEI), QStringLiteral("356938035643809"), kBound);
    QTRY_COMPARE_WITH_TIMEOUT(AddressShown(session), QStringLiteral("192.168.10.20"), kBound);
    // The factory language and network type are the window's start-up choices too; reports that
    // differ are covered below.
    QCOMPARE(ComboText(session, IDC_LANGUAGE), QStringLiteral("English"));
    QCOMPARE(ComboText(session, IDC_NETWORK_TYPE), QStringLiteral("3G/2G"));
    QCOMPARE(OpenMessageBox(session.Window()), nullptr);
  }

  void writeImeiSendsTheFieldAndTheDeviceKeepsIt() {
    CWindowSession session;
    QVERIFY(session.Start());
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(EditText(session, IDC_IMEI), QStringLiteral("356938035643809"), kBound);

    TypeInto(session.Control(IDC_IMEI), QStringLiteral("86123456789012"));
    QCOMPARE(ClickAndAnswer(session, IDC_WRITE_IMEI), QStringLiteral("IMEI length error, must be 15 digits"));
    QVERIFY(IsEnabled(session, IDC_WRITE_IMEI));

    TypeInto(session.Control(IDC_IMEI), QStringLiteral("861234567890123"));
    bool enabledWhileOpen = true;
    QCOMPARE(ClickAndAnswer(session, IDC_WRITE_IMEI, [&] { enabledWhileOpen = IsEnabled(session, IDC_WRITE_IMEI); }),
             QStringLiteral("Write IMEI OK, Restart the device to be effective!"));
    QVERIFY(!enabledWhileOpen);
    QVERIFY(IsEnabled(session, IDC_WRITE_IMEI));
    QCOMPARE(TimesSaid(session, "IMEI:861234567890123"), 1);
    QVERIFY(!session.Device().Output().contains(Said("IMEI:86123456789012")));

    // The next connection reports what was written.
    TypeInto(session.Control(IDC_IMEI), QString());
    session.Click(IDC_CONNECT);
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(EditText(session, IDC_IMEI), QStringLiteral("861234567890123"), kBound);
  }

  void serverAddressAndAccountButtonsSendTheirFields() {
    CWindowSession session;
    QVERIFY(session.Start());
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(AddressShown(session), QStringLiteral("192.168.10.20"), kBound);

    TypeAddress(session, {"10", "", "0", "1"});
    bool pairEnabledWhileOpen = false;
    QCOMPARE(
        ClickAndAnswer(
            session, IDC_UPDATE_IP,
            [&] { pairEnabledWhileOpen = IsEnabled(session, IDC_UPDATE_IP) && IsEnabled(session, IDC_UPDATE_DOMAIN); }),
        QStringLiteral("Update IP OK"));
    QVERIFY(pairEnabledWhileOpen);
    QVERIFY(session.WaitForDevice(Said("IP:10.0.0.1")));
    // The same address again sends nothing and shows nothing.
    QVERIFY(ClickDoesNothingVisible(session, IDC_UPDATE_IP));
    QVERIFY(IsEnabled(session, IDC_UPDATE_IP));

    TypeInto(session.Control(IDC_DOMAIN), QStringLiteral("ptt.example.org"));
    QCOMPARE(ClickAndAnswer(session, IDC_UPDATE_DOMAIN), QStringLiteral("Update domain OK"));
    QVERIFY(session.WaitForDevice(Said("HOST:ptt.example.org")));
    QCOMPARE(TimesSaid(session, "IP:10.0.0.1"), 1);

    TypeInto(session.Control(IDC_ACCOUNT), QStringLiteral("unit7"));
    QCOMPARE(ClickAndAnswer(session, IDC_SET_ACCOUNT), QStringLiteral("Update account and password OK"));
    QVERIFY(session.WaitForDevice(Said("ACCOUNT:unit7^")));
    TypeInto(session.Control(IDC_ACCOUNT_PASSWORD), QStringLiteral("s^cr:t"));
    QCOMPARE(ClickAndAnswer(session, IDC_SET_ACCOUNT), QStringLiteral("Update account and password OK"));
    QVERIFY(session.WaitForDevice(Said("ACCOUNT:unit7^s^cr:t")));

    QCOMPARE(ClickAndAnswer(session, IDC_UPDATE_DEALER_PW), QStringLiteral("Update dealer password OK"));
    QVERIFY(session.WaitForDevice(Said("CUSTOMER_PW:")));
    QVERIFY(IsEnabled(session, IDC_UPDATE_DEALER_PW));
    QVERIFY(IsEnabled(session, IDC_SET_ACCOUNT));

    // Close empties the account fields and the address, and keeps the domain.
    session.Click(IDC_CONNECT);
    QCOMPARE(EditText(session, IDC_ACCOUNT), QString());
    QCOMPARE(EditText(session, IDC_ACCOUNT_PASSWORD), QString());
    QCOMPARE(AddressShown(session), QStringLiteral("..."));
    QCOMPARE(EditText(session, IDC_DOMAIN), QStringLiteral("ptt.example.org"));
  }

  void apnButtonsSendTheirFields() {
    CWindowSession session;
    QVERIFY(session.Start());
    QVERIFY(session.ConnectAndWaitReady());

    TypeInto(session.Control(IDC_APN_USER), QStringLiteral("me@isp"));
    QCOMPARE(ClickAndAnswer(session, IDC_SET_APN), QStringLiteral("APN can not be empty"));

    TypeInto(session.Control(IDC_APN_NAME), QStringLiteral("apn1"));
    TypeInto(session.Control(IDC_APN_PASSWORD), QStringLiteral("pw"));
    bool clearEnabledWhileOpen = false;
    QCOMPARE(ClickAndAnswer(session, IDC_SET_APN, [&] { clearEnabledWhileOpen = IsEnabled(session, IDC_CLEAR_APN); }),
             QStringLiteral("Update APN OK"));
    QVERIFY(clearEnabledWhileOpen);  // the reply enables the pair before its box
    QVERIFY(session.WaitForDevice(Said("APN:apn1^me@isp@pw")));

    QCOMPARE(ClickAndAnswer(session, IDC_CLEAR_APN), QStringLiteral("Clear APN OK"));
    QVERIFY(session.WaitForDevice(Said("APN_RESET:")));
    QCOMPARE(EditText(session, IDC_APN_NAME), QStringLiteral("apn1"));
    QCOMPARE(EditText(session, IDC_APN_USER), QStringLiteral("me@isp"));
    QCOMPARE(EditText(session, IDC_APN_PASSWORD), QStringLiteral("pw"));
    QVERIFY(!session.Device().Output().contains(Said("APN:^me@isp@")));
  }

  void languageAndNetworkTypeFollowTheDevice() {
    CWindowSession session;
    QVERIFY(session.Start());
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(ComboText(session, IDC_NETWORK_TYPE), QStringLiteral("3G/2G"), kBound);
    auto* network = qobject_cast<QComboBox*>(session.Control(IDC_NETWORK_TYPE));
    auto* language = qobject_cast<QComboBox*>(session.Control(IDC_LANGUAGE));

    QTest::keyClick(network, Qt::Key_Up);
    QTest::keyClick(network, Qt::Key_Up);
    QCOMPARE(network->currentText(), QStringLiteral("2G"));
    QCOMPARE(ClickAndAnswer(session, IDC_SET_NETWORK), QStringLiteral("Set network OK"));
    QVERIFY(session.WaitForDevice(Said("NETWORK_TYPE:2G")));

    // The English layout hides the language controls, so they are worked from here.
    language->setCurrentIndex(1);
    QString text;
    CWhenReady answer([&session] { return OpenMessageBox(session.Window()) != nullptr; },
                      [&] {
                        text = OpenMessageBox(session.Window())->text();
                        OpenMessageBox(session.Window())->button(QMessageBox::Ok)->click();
                      });
    session.Button(IDC_SET_LANGUAGE)->click();
    QTRY_VERIFY_WITH_TIMEOUT(answer.Done(), kBound);
    QCOMPARE(text, QStringLiteral("Set Language OK"));
    QVERIFY(session.WaitForDevice(Said("LANGUAGE:zh_CN")));

    // Back to other choices; the device's reports on the next connection select its own.
    session.Click(IDC_CONNECT);
    QTest::keyClick(network, Qt::Key_Down);
    language->setCurrentIndex(0);
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(ComboText(session, IDC_NETWORK_TYPE), QStringLiteral("2G"), kBound);
    QTRY_COMPARE_WITH_TIMEOUT(ComboText(session, IDC_LANGUAGE), QStringLiteral("中文简体"), kBound);

    // Typed text is what Set Network reads: "4G" is not the reported "2G", and goes out as 2G.
    TypeInto(network, QStringLiteral("4G"));
    QCOMPARE(ClickAndAnswer(session, IDC_SET_NETWORK), QStringLiteral("Set network OK"));
    QTRY_COMPARE_WITH_TIMEOUT(TimesSaid(session, "NETWORK_TYPE:2G"), 2, kBound);

    // A report selects its item even over typed text.
    session.Click(IDC_CONNECT);
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(TimesSaid(session, "COM:open"), 3, kBound);
    QTRY_COMPARE_WITH_TIMEOUT(ComboText(session, IDC_NETWORK_TYPE), QStringLiteral("2G"), kBound);
  }

  void refusedCommandsShowTheirFailure() {
    CWindowSession session;
    QVERIFY(session.Start({"--refuse", "HOST,APN_RESET"}));
    QVERIFY(session.ConnectAndWaitReady());
    TypeInto(session.Control(IDC_DOMAIN), QStringLiteral("ptt.example.org"));
    QCOMPARE(ClickAndAnswer(session, IDC_UPDATE_DOMAIN), QStringLiteral("Update domain fail"));
    QVERIFY(IsEnabled(session, IDC_UPDATE_DOMAIN));
    QVERIFY(IsEnabled(session, IDC_UPDATE_IP));
    QCOMPARE(ClickAndAnswer(session, IDC_CLEAR_APN), QStringLiteral("Clear APN fail"));
    QVERIFY(IsEnabled(session, IDC_SET_APN));
  }

  void ignoredCommandTimesOut() {
    CWindowSession session;
    QVERIFY(session.Start({"--ignore", "ACCOUNT"}));
    QVERIFY(session.ConnectAndWaitReady());
    TypeInto(session.Control(IDC_ACCOUNT), QStringLiteral("unit7"));
    bool enabledWhileOpen = true;
    QCOMPARE(ClickAndAnswer(session, IDC_SET_ACCOUNT, [&] { enabledWhileOpen = IsEnabled(session, IDC_SET_ACCOUNT); }),
             QStringLiteral("Parlo apk without response"));
    QVERIFY(session.Device().HasPrinted(Said("ACCOUNT:unit7^")));
    QVERIFY(!enabledWhileOpen);
    QVERIFY(IsEnabled(session, IDC_SET_ACCOUNT));
    QCOMPARE(EditText(session, IDC_ACCOUNT), QStringLiteral("unit7"));
    QCOMPARE(TimesSaid(session, "ACCOUNT:unit7^"), 1);
  }

  void terminatorInAFieldIsRefusedAndNothingIsSent() {
    CWindowSession session;
    QVERIFY(session.Start());
    QVERIFY(session.ConnectAndWaitReady());
    TypeInto(session.Control(IDC_DOMAIN), QStringLiteral("a~FACTORY_RESET:reboot"));
    QCOMPARE(ClickAndAnswer(session, IDC_UPDATE_DOMAIN), QStringLiteral("The text must not contain the character ~"));
    QVERIFY(IsEnabled(session, IDC_UPDATE_DOMAIN));
    QCOMPARE(EditText(session, IDC_DOMAIN), QStringLiteral("a~FACTORY_RESET:reboot"));

    // Whatever the refused press had sent would have reached the device before this.
    QCOMPARE(ClickAndAnswer(session, IDC_CLEAR_APN), QStringLiteral("Clear APN OK"));
    QVERIFY(session.Dialog().IsDeviceReady());
    QVERIFY(!session.Device().Output().contains(QStringLiteral("PC says HOST")));
    QVERIFY(!session.Device().Output().contains(QStringLiteral("FACTORY_RESET")));
  }

  void factoryResetClosesTheLinkAndTheDeviceRestartsWithItsDefaults() {
    CWindowSession session;
    QVERIFY(session.Start());
    QVERIFY(session.ConnectAndWaitReady());
    auto* network = qobject_cast<QComboBox*>(session.Control(IDC_NETWORK_TYPE));
    QTest::keyClick(network, Qt::Key_Up);
    QTest::keyClick(network, Qt::Key_Up);
    QCOMPARE(ClickAndAnswer(session, IDC_SET_NETWORK), QStringLiteral("Set network OK"));

    session.Click(IDC_FACTORY_RESET);
    QVERIFY(session.WaitForDevice(Said("FACTORY_RESET:reboot")));
    QTRY_COMPARE_WITH_TIMEOUT(session.Button(IDC_CONNECT)->text(), QStringLiteral("Connect"), kBound);
    QVERIFY(!session.Port().IsOpen());
    QVERIFY(!session.Dialog().IsDeviceReady());
    QVERIFY(!IsEnabled(session, IDC_FACTORY_RESET));
    QVERIFY(!IsEnabled(session, IDC_UPDATE_IP));
    QCOMPARE(OpenMessageBox(session.Window()), nullptr);
    QVERIFY(session.WaitForDevice(Said("COM:close")));

    QVERIFY(session.WaitForDevice(QStringLiteral("restarted")));
    QVERIFY(session.ConnectAndWaitReady());
    QTRY_COMPARE_WITH_TIMEOUT(ComboText(session, IDC_NETWORK_TYPE), QStringLiteral("3G/2G"), kBound);
  }
};

}  // namespace tolvane::e2e

QTEST_MAIN(tolvane::e2e::SettingsWindowE2eTest)
#include "SettingsWindowE2eTest.moc"
