// The window as a technician meets it: the status strip, the port field and its list, what the
// fields accept, how read-only fields look, the font it asks for and its timers.
#include <QAccessible>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "WiredWindow.h"

using namespace tolvane;
using namespace tolvane::qttest;

namespace {

QLineEdit* Edit(CQtMainWindow& window, int id) { return qobject_cast<QLineEdit*>(window.Control(id)); }

// What an edit holds after the clipboard's text is pasted into it, empty at first.
QString PastedInto(CQtMainWindow& window, int id, const QString& text) {
  QLineEdit* edit = Edit(window, id);
  edit->clear();
  QGuiApplication::clipboard()->setText(text);
  edit->paste();
  return edit->text();
}

}  // namespace

class CMainWindowFeedbackTest : public QObject {
  Q_OBJECT

 private slots:
  void StatusLine_showsTheLinkBelowTheTemplateWithoutFocusOrBox() {
    CWiredWindow wired({"COM4 (ttyUSB1)"});
    wired.dialog->OnInitDialog();
    wired.ShowActive();
    QLabel* status = wired.window.StatusLine();
    QCOMPARE(status->text(), QString("Not connected"));
    QCOMPARE(status->focusPolicy(), Qt::NoFocus);
    // Below every template control, inside the window.
    for (QWidget* control : wired.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (control != status && control->isVisible()) QVERIFY(control->geometry().bottom() < status->geometry().top());
    QVERIFY(wired.window.rect().contains(status->geometry()));

    wired.dialog->OnConnect();
    QCOMPARE(status->text(), QString("COM4 (ttyUSB1) open, waiting for the device to answer…"));
    // A screen reader reads the strip's text as its name.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(status);
    QCOMPARE(accessible->text(QAccessible::Name), status->text());
    QVERIFY(!wired.window.findChild<QDialog*>());
  }

  void ReadOnlyFields_sitOnTheWindowsBackground() {
    CWiredWindow wired({"COM1 (ttyS0)"});
    const QColor background = wired.window.palette().color(QPalette::Window);
    for (const int id : {IDC_WIFI_NAME, IDC_GPS_STATUS, IDC_GPS_SATELLITES})
      QCOMPARE(Edit(wired.window, id)->palette().color(QPalette::Base), background);
    QVERIFY(Edit(wired.window, IDC_ACCOUNT)->palette().color(QPalette::Base) != background);
  }

  void DigitsOnlyFields_takeAsciiDigitsOnly() {
    CWiredWindow wired({"COM1 (ttyS0)"});
    wired.dialog->OnInitDialog();
    for (const int id : {IDC_IMEI, IDC_BT_PIN}) {
      QLineEdit* edit = Edit(wired.window, id);
      edit->clear();
      edit->setFocus();
      // As an input method hands them over: full-width and Arabic-Indic digits, then ASCII ones.
      for (const QString& typed : {QStringLiteral("１２３"), QStringLiteral("٤"), QStringLiteral("135")}) {
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QApplication::sendEvent(edit, &commit);
      }
      QCOMPARE(edit->text(), QString("135"));
      QCOMPARE(PastedInto(wired.window, id, QStringLiteral("８６０")), QString());
    }
  }

  void DigitsOnlyFields_cutALongPasteToTheLimit() {
    CWiredWindow wired({"COM1 (ttyS0)"});
    wired.dialog->OnInitDialog();
    QCOMPARE(PastedInto(wired.window, IDC_IMEI, "86000000000000123456"), QString("860000000000001"));
    QCOMPARE(PastedInto(wired.window, IDC_BT_PIN, "1234567890"), QString("12345678"));
    // Into the middle: what was there stays, the paste gives way.
    QLineEdit* pin = Edit(wired.window, IDC_BT_PIN);
    pin->setText("1299");
    pin->setCursorPosition(2);
    QGuiApplication::clipboard()->setText("345678");
    pin->paste();
    QCOMPARE(pin->text(), QString("12345699"));
    QCOMPARE(pin->cursorPosition(), 6);
    // A full field takes nothing more.
    QGuiApplication::clipboard()->setText("0");
    pin->paste();
    QCOMPARE(pin->text(), QString("12345699"));
  }

  void PortField_showsItsLongestEntryWholeWithConnectBesideIt_data() {
    QTest::addColumn<TextLanguage>("language");
    QTest::newRow("English") << TextLanguage::English;
    QTest::newRow("Chinese") << TextLanguage::Chinese;
  }
  void PortField_showsItsLongestEntryWholeWithConnectBesideIt() {
    QFETCH(TextLanguage, language);
    CWiredWindow wired({"COM1 (ttyS0)", "COM200 (ttySIM0)"});
    (void)language;
    CQtMainWindow window(language);
    CMirlSettingsDlg dialog(window, wired.port, wired.ports);
    window.AttachDialog(&dialog);
    dialog.OnInitDialog();
    window.ComboSetCurSel(IDC_PORT, 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* combo = qobject_cast<QComboBox*>(window.Control(IDC_PORT));
    QLineEdit* field = combo->lineEdit();
    QVERIFY2(field->fontMetrics().horizontalAdvance("COM200 (ttySIM0)") <= field->contentsRect().width(),
             qPrintable(QString::number(field->contentsRect().width())));
    QVERIFY(combo->geometry().right() < window.Control(IDC_CONNECT)->geometry().left());
    // Nothing on the top line overlaps.
    std::vector<QRect> taken;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!child->isVisible() || child->y() > combo->geometry().bottom() || qobject_cast<QFrame*>(child) == child)
        continue;
      QRect extent = child->geometry();
      if (auto* label = qobject_cast<QLabel*>(child))
        extent.setWidth(std::min(extent.width(), label->fontMetrics().horizontalAdvance(label->text())));
      for (const QRect& other : taken) QVERIFY(!extent.intersects(other));
      taken.push_back(extent);
    }
  }

  void PortList_isReadAgainWhenOpenedKeepingTheChoice() {
    CWiredWindow wired({"COM1 (ttyS0)", "COM33 (ttyUSB0)"});
    wired.dialog->OnInitDialog();
    wired.ShowActive();
    QComboBox* combo = wired.Combo(IDC_PORT);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    wired.ports.ports = {"COM1 (ttyS0)", "COM200 (ttySIM0)", "COM33 (ttyUSB0)"};
    combo->showPopup();
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentText(), QString("COM33 (ttyUSB0)"));
    QCOMPARE(wired.dialog->GetComPort(), 33);
    combo->hidePopup();
  }

  void Font_isTheOneTheInstallBrings() {
    CQtMainWindow window;
    QCOMPARE(window.font().families().value(0), QString("Liberation Sans"));
    if (QFontDatabase::hasFamily("Liberation Sans"))
      QCOMPARE(QFontInfo(window.font()).family(), QString("Liberation Sans"));
  }

  void ReplyTimers_neverFireEarly() {
    CQtMainWindow window;
    for (const int id : {TIMER_UPDATE_IP, TIMER_SET_APN, TIMER_WIFI_CONNECT}) window.SetTimer(id, 60000);
    const QList<QTimer*> timers = window.findChildren<QTimer*>();
    QCOMPARE(timers.size(), 3);
    for (const QTimer* timer : timers) QCOMPARE(timer->timerType(), Qt::PreciseTimer);
  }
};

QTEST_MAIN(CMainWindowFeedbackTest)
#include "MainWindowFeedbackTest.moc"
