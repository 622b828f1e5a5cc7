// The real window on the real port against tolvane-devsim, driven only through its own controls.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "WindowSession.h"

namespace tolvane::e2e {

class WindowE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void connectBecomesReadyAndCloseDisablesTheCommands() {
    CWindowSession session;
    QVERIFY(session.Start());
    QWidget* updateIp = session.Control(IDC_UPDATE_IP);
    QWidget* factoryReset = session.Control(IDC_FACTORY_RESET);
    QVERIFY(session.ChooseDevicePort());
    QVERIFY(!updateIp->isEnabled());

    session.Click(IDC_CONNECT);
    QCOMPARE(session.Button(IDC_CONNECT)->text(), QStringLiteral("Close"));
    QTRY_VERIFY_WITH_TIMEOUT(updateIp->isEnabled(), 20000);
    QVERIFY(factoryReset->isEnabled());
    QVERIFY(session.Dialog().IsDeviceReady());

    session.Click(IDC_CONNECT);
    QCOMPARE(session.Button(IDC_CONNECT)->text(), QStringLiteral("Connect"));
    QVERIFY(!updateIp->isEnabled());
    QVERIFY(!factoryReset->isEnabled());
    QVERIFY(session.WaitForDevice(QStringLiteral("COM:close")));

    session.Window().close();
    QVERIFY(!session.Port().IsOpen());
  }

  void aDevicePluggedInAfterStartUpIsFoundWhenTheListIsOpened() {
    CWindowSession session;
    QVERIFY(session.StartWindow());
    auto* ports = qobject_cast<QComboBox*>(session.Control(IDC_PORT));
    QVERIFY(session.StartDevice());
    QCOMPARE(ports->findText(session.Device().Caption()), -1);

    ports->showPopup();
    ports->hidePopup();
    QVERIFY(ports->findText(session.Device().Caption()) >= 0);
    QVERIFY(session.ConnectAndWaitReady());
    QCOMPARE(session.Window().StatusLine()->text(), QStringLiteral("Device ready on COM200"));
  }

  void theStatusLineSaysWhenTheDeviceStaysSilentOrIsUnplugged() {
    CWindowSession session;
    QVERIFY(session.Start({QStringLiteral("--silent")}));
    QVERIFY(session.ChooseDevicePort());
    session.Click(IDC_CONNECT);
    QLabel* status = session.Window().StatusLine();
    QCOMPARE(status->text(), session.Device().Caption() + QStringLiteral(" open, waiting for the device to answer…"));
    QTRY_COMPARE_WITH_TIMEOUT(
        status->text(),
        QStringLiteral("No answer from the device on COM200: check the cable and that the intercom app is running"),
        20000);
    session.Device().Kill();
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), QStringLiteral("COM200 was unplugged"), 20000);
    QCOMPARE(session.Button(IDC_CONNECT)->text(), QStringLiteral("Connect"));
  }
};

}  // namespace tolvane::e2e

QTEST_MAIN(tolvane::e2e::WindowE2eTest)
#include "WindowE2eTest.moc"
