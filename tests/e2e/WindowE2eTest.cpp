// The real window on the real port against tolvane-devsim, driven only through its own controls.
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
};

}  // namespace tolvane::e2e

QTEST_MAIN(tolvane::e2e::WindowE2eTest)
#include "WindowE2eTest.moc"
