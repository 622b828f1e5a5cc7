// The real window on the real port against tolvane-devsim, driven only through its own controls.
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "DevsimProcess.h"
#include "qt/LinuxPortList.h"
#include "qt/QtMainWindow.h"
#include "qt/QtSerialPort.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::e2e {

class WindowE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_registry.isValid());
    // Only this test's simulated device, besides the machine's own serial ports.
    qputenv("TOLVANE_PORT_REGISTRY", m_registry.path().toLocal8Bit());
  }

  void connectBecomesReadyAndCloseDisablesTheCommands() {
    CDevsimProcess device;
    QVERIFY(device.Start());

    CLinuxPortList ports;
    CQtSerialPort port(ports);
    CQtMainWindow window;
    CMirlSettingsDlg dialog(window, port, ports);
    window.AttachDialog(&dialog);
    dialog.OnInitDialog();
    window.show();

    auto* portCombo = qobject_cast<QComboBox*>(window.Control(IDC_PORT));
    auto* connectButton = qobject_cast<QPushButton*>(window.Control(IDC_CONNECT));
    auto* updateIp = window.Control(IDC_UPDATE_IP);
    auto* factoryReset = window.Control(IDC_FACTORY_RESET);
    QVERIFY(portCombo && connectButton && updateIp && factoryReset);

    // Choose the simulated device as a user would: open the list and pick its entry.
    const int index = portCombo->findText(device.Caption());
    QVERIFY2(index >= 0, qPrintable(device.Caption()));
    portCombo->setFocus();
    QTest::keyClick(portCombo, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(portCombo, Qt::Key_Down);
    QCOMPARE(portCombo->currentText(), device.Caption());
    QCOMPARE(dialog.GetComPort(), device.ComNumber());
    QVERIFY(!updateIp->isEnabled());

    QTest::mouseClick(connectButton, Qt::LeftButton);
    QCOMPARE(connectButton->text(), QStringLiteral("Close"));
    QTRY_VERIFY_WITH_TIMEOUT(updateIp->isEnabled(), 20000);
    QVERIFY(factoryReset->isEnabled());
    QVERIFY(dialog.IsDeviceReady());

    QTest::mouseClick(connectButton, Qt::LeftButton);
    QCOMPARE(connectButton->text(), QStringLiteral("Connect"));
    QVERIFY(!updateIp->isEnabled());
    QVERIFY(!factoryReset->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(device.HasPrinted(QStringLiteral("COM:close")), 20000);

    window.close();
    QVERIFY(!port.IsOpen());
  }

 private:
  QTemporaryDir m_registry;
};

}  // namespace tolvane::e2e

QTEST_MAIN(tolvane::e2e::WindowE2eTest)
#include "WindowE2eTest.moc"
