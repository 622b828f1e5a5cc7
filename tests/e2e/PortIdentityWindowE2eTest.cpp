// Port identity through the real window against tolvane-devsim: the tip in the open port list, and
// the cause of a failed open in the status strip.
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "WindowProbe.h"
#include "WindowSession.h"
#include "link/PortTexts.h"

namespace tolvane::e2e {

class PortIdentityWindowE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void theOpenListTellsTheSimulatedDeviceApart() {
    CWindowSession session;
    QVERIFY(session.Start());
    auto* ports = qobject_cast<QComboBox*>(session.Control(IDC_PORT));
    const int index = ports->findText(session.Device().Caption());
    QVERIFY(index >= 0);
    QCOMPARE(ports->itemText(index), session.Device().Caption());  // the caption itself is unchanged
    QCOMPARE(ports->itemData(index, Qt::ToolTipRole).toString(),
             QStringLiteral("Simulated device (tolvane-devsim)\n") + session.Device().TerminalPath());
  }

  void aVanishedDeviceIsNamedInTheStatusStrip() {
    CWindowSession session;
    QVERIFY(session.Start());
    QVERIFY(session.ChooseDevicePort());
    session.Device().Terminate();
    QVERIFY(session.Device().WaitForExit(30'000));
    QString boxText;
    qttest::CWhenReady answer([&] { return qttest::OpenMessageBox(session.Window()) != nullptr; },
                              [&] {
                                QMessageBox* box = qttest::OpenMessageBox(session.Window());
                                boxText = box->text();
                                box->button(QMessageBox::Ok)->click();
                              });
    session.Click(IDC_CONNECT);
    QTRY_VERIFY_WITH_TIMEOUT(answer.Done(), 20'000);
    const QString port = QStringLiteral("COM%1").arg(session.Device().ComNumber());
    QCOMPARE(boxText, port + QStringLiteral(" Error, the serial port is occupied or does not exist!"));
    QCOMPARE(session.Window().StatusLine()->text(), port + QStringLiteral(" is no longer there"));
  }

  // The remedy is a command to type: it must be there whole, in either language.
  void everyOpenFailureTextFitsTheStatusStrip() {
    const COpenFailure failures[] = {
        {COpenFailure::Cause::NoPermission, "dialout", "", 0},
        {COpenFailure::Cause::NoPermission, "", "", 0},
        {COpenFailure::Cause::Held, "", "ModemManager", 4194304},
        {COpenFailure::Cause::Held, "", "", 0},
        {COpenFailure::Cause::Gone, "", "", 0},
    };
    for (const TextLanguage language : {TextLanguage::English, TextLanguage::Chinese}) {
      CQtMainWindow window(language);
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      QLabel* strip = window.StatusLine();
      SetThreadTextLanguage(language);
      for (const COpenFailure& failure : failures) {
        const QString text = QString::fromStdString(DescribeOpenFailure(failure, "COM199"));
        // A framed label indents its text by half an "x" when no indent is set.
        const int indent = strip->indent() >= 0 ? strip->indent() : strip->fontMetrics().horizontalAdvance('x') / 2;
        const int room = strip->contentsRect().width() - 2 * strip->margin() - indent;
        QVERIFY2(strip->fontMetrics().horizontalAdvance(text) <= room,
                 qPrintable(QStringLiteral("%1 px for %2 px: %3")
                                .arg(strip->fontMetrics().horizontalAdvance(text))
                                .arg(room)
                                .arg(text)));
      }
      SetThreadTextLanguage(TextLanguage::English);
    }
  }
};

}  // namespace tolvane::e2e

QTEST_MAIN(tolvane::e2e::PortIdentityWindowE2eTest)
#include "PortIdentityWindowE2eTest.moc"
