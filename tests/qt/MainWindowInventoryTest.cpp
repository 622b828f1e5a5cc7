// The main window against its template: every control with its kind, styles, caption, place,
// visibility and tab order, in both languages.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <set>

#include "WindowProbe.h"
#include "qt/IpAddressEdit.h"
#include "qt/QtMainWindow.h"
#include "qt/ReportList.h"
#include "res/ControlIds.h"

using namespace tolvane;
using namespace tolvane::qttest;

Q_DECLARE_METATYPE(tolvane::TextLanguage)

namespace {

bool IsFrame(const QWidget* widget) { return qstrcmp(widget->metaObject()->className(), "QFrame") == 0; }

// The template controls of the window other than the frames, in creation order.
std::vector<QWidget*> TemplateWidgets(const QWidget& window) {
  std::vector<QWidget*> widgets;
  for (QObject* child : window.children())
    if (auto* widget = qobject_cast<QWidget*>(child);
        widget && widget->property("controlId").isValid() && !IsFrame(widget))
      widgets.push_back(widget);
  return widgets;
}

// Checks that the widget is of the row's kind, with its styles.
void VerifyKind(const CControlTemplate& row, QWidget* widget) {
  const QByteArray what = QByteArray::number(row.id) + " " + KindCode(row.kind).data();
  auto* edit = qobject_cast<QLineEdit*>(widget);
  switch (row.kind) {
    case ControlKind::Label: QVERIFY2(qobject_cast<QLabel*>(widget), what); break;
    case ControlKind::Button:
      QVERIFY2(qobject_cast<QPushButton*>(widget) && (widget->focusPolicy() & Qt::TabFocus), what);
      break;
    case ControlKind::EditMulti: {
      auto* multi = qobject_cast<QPlainTextEdit*>(widget);
      QVERIFY2(multi && multi->isReadOnly() && multi->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn, what);
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = qobject_cast<QComboBox*>(widget);
      QVERIFY2(combo && combo->isEditable(), what);
      break;
    }
    case ControlKind::ListView: {
      auto* list = qobject_cast<CReportList*>(widget);
      QVERIFY2(list && list->selectionMode() == QAbstractItemView::ExtendedSelection &&
                   list->selectionBehavior() == QAbstractItemView::SelectRows,
               what);
      break;
    }
    case ControlKind::IpAddress: QVERIFY2(qobject_cast<CIpAddressEdit*>(widget), what); break;
    default: {
      QVERIFY2(edit, what);
      const bool masked = row.kind == ControlKind::EditPassword || row.kind == ControlKind::EditNumberPassword;
      const bool digitsOnly = row.kind == ControlKind::EditNumber || row.kind == ControlKind::EditNumberPassword;
      QCOMPARE(edit->echoMode() == QLineEdit::Password, masked);
      QCOMPARE(edit->isReadOnly(), row.kind == ControlKind::EditReadOnly);
      if (edit->isReadOnly()) break;
      QTest::keyClicks(edit, "4a2-7 ");
      QCOMPARE(edit->text(), QString(digitsOnly ? "427" : "4a2-7 "));
    }
  }
}

}  // namespace

class CMainWindowInventoryTest : public QObject {
  Q_OBJECT

 private slots:
  void Template_holdsFiftyNineControlsEachInsideItsFrame();
  void Window_createsEveryRowInOrderWithKindCaptionAndNames_data() { AddLanguages(); }
  void Window_createsEveryRowInOrderWithKindCaptionAndNames();
  void Window_hidesLanguageControlsOnlyInEnglish();
  void Window_isFixedSizeWithoutMinimiseOrMaximise();
  void Window_tabOrderIsTemplateOrder_data() { AddLanguages(); }
  void Window_tabOrderIsTemplateOrder();
  void Layout_showsEveryCaptionWholeWithoutOverlaps_data() { AddLanguages(); }
  void Layout_showsEveryCaptionWholeWithoutOverlaps();

 private:
  static void AddLanguages() {
    QTest::addColumn<TextLanguage>("language");
    QTest::newRow("English") << TextLanguage::English;
    QTest::newRow("Chinese") << TextLanguage::Chinese;
  }
};

void CMainWindowInventoryTest::Template_holdsFiftyNineControlsEachInsideItsFrame() {
  const CDialogTemplate& dialog = MainDialogTemplate();
  QCOMPARE(dialog.controls.size(), std::size_t{59});
  std::set<int> ids;
  std::set<std::string> members;
  for (const CControlTemplate& row : dialog.controls) {
    if (row.id != IDC_STATIC) QVERIFY(ids.insert(row.id).second);
    if (*row.member) QVERIFY(members.insert(row.member).second);
    for (const TextLanguage language : {TextLanguage::English, TextLanguage::Chinese}) {
      CDialogRect frame{0, 0, dialog.Width(language), dialog.Height(language)};
      for (const CControlTemplate& other : dialog.controls)
        if (other.kind == ControlKind::Frame && other.frame == row.frame) frame = other.Rect(language);
      QVERIFY2(frame.Contains(row.Rect(language)), row.member);
    }
  }
  QCOMPARE(members.size(), std::size_t{38});  // the bound control members
  QCOMPARE(ids.size(), std::size_t{52});      // 1001 to 1052
  QCOMPARE(*ids.rbegin(), 1052);
  // Spot checks against the fixed texts and places.
  QCOMPARE(dialog.Find(IDC_SET_ACCOUNT)->caption.english, "Set Account/Pw");
  QVERIFY(dialog.Find(IDC_SET_ACCOUNT)->IsMultiLine(TextLanguage::English));
  QVERIFY(!dialog.Find(IDC_SET_ACCOUNT)->IsMultiLine(TextLanguage::Chinese));
  QCOMPARE(dialog.Find(IDC_WIFI_CONNECT)->caption.chinese, "连接Wi-Fi");
  QCOMPARE(KindCode(dialog.Find(IDC_BT_PIN)->kind), "E-num-pw");
  QCOMPARE(dialog.Find(IDC_WIFI_LIST)->Rect(TextLanguage::Chinese).cx, 342);
}

void CMainWindowInventoryTest::Window_createsEveryRowInOrderWithKindCaptionAndNames() {
  QFETCH(TextLanguage, language);
  CQtMainWindow window(language);
  const std::vector<QWidget*> widgets = TemplateWidgets(window);
  std::size_t next = 0;
  for (const CControlTemplate& row : MainDialogTemplate().controls) {
    if (row.kind == ControlKind::SerialPort || row.kind == ControlKind::Frame) continue;
    QVERIFY(next < widgets.size());
    QWidget* widget = widgets[next++];
    QCOMPARE(ControlIdOf(*widget), row.id);
    VerifyKind(row, widget);
    QCOMPARE(widget->objectName(), QString::fromUtf8(row.member));
    QCOMPARE(widget->accessibleName(), QString::fromUtf8(row.accessibleName.Get(language)));
    const QString caption = QString::fromUtf8(row.caption.Get(language));
    if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), caption);
    if (auto* button = qobject_cast<QPushButton*>(widget)) QCOMPARE(button->text(), caption);
  }
  QCOMPARE(next, widgets.size());
  QCOMPARE(window.Control(IDC_COMM), nullptr);  // the serial port has no visible part
  QCOMPARE(window.Control(IDC_APN_NAME)->accessibleName(),
           QString(language == TextLanguage::English ? "APN" : "APN名"));
}

void CMainWindowInventoryTest::Window_hidesLanguageControlsOnlyInEnglish() {
  CQtMainWindow english(TextLanguage::English);
  CQtMainWindow chinese(TextLanguage::Chinese);
  english.show();
  chinese.show();
  QVERIFY(QTest::qWaitForWindowExposed(&english) && QTest::qWaitForWindowExposed(&chinese));
  for (const int id : {IDC_LANGUAGE, IDC_SET_LANGUAGE}) {
    QVERIFY(!english.Control(id)->isVisible());
    QVERIFY(chinese.Control(id)->isVisible());
  }
  QVERIFY(english.Control(IDC_SET_NETWORK)->isVisible());
}

void CMainWindowInventoryTest::Window_isFixedSizeWithoutMinimiseOrMaximise() {
  CQtMainWindow window;
  QCOMPARE(window.windowTitle(), QString("Tolvane"));
  QVERIFY(!window.windowIcon().isNull());
  QCOMPARE(window.minimumSize(), window.maximumSize());
  const Qt::WindowFlags flags = window.windowFlags();
  QVERIFY((flags & Qt::Window) && (flags & Qt::WindowCloseButtonHint));
  QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  QVERIFY(!window.parentWidget());  // a window of its own, with its own task-bar entry
  CQtMainWindow chinese(TextLanguage::Chinese);
  QVERIFY(window.width() > chinese.width());  // 381 against 353 dialog units
  QCOMPARE(window.height(), chinese.height());
}

void CMainWindowInventoryTest::Window_tabOrderIsTemplateOrder() {
  QFETCH(TextLanguage, language);
  CQtMainWindow window(language);
  window.show();
  QApplication::setActiveWindow(&window);
  QVERIFY(QTest::qWaitForWindowActive(&window));
  std::vector<int> expected;
  for (const CControlTemplate& row : MainDialogTemplate().controls) {
    const bool stop =
        row.kind != ControlKind::Label && row.kind != ControlKind::Frame && row.kind != ControlKind::SerialPort;
    if (stop && !row.IsHidden(language)) expected.push_back(row.id);
  }
  window.Control(expected.front())->setFocus(Qt::TabFocusReason);
  std::vector<int> visited{OwningControlId(QApplication::focusWidget())};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(OwningControlId(QApplication::focusWidget()));
  }
  expected.push_back(expected.front());  // and round again
  QCOMPARE(visited, expected);
}

void CMainWindowInventoryTest::Layout_showsEveryCaptionWholeWithoutOverlaps() {
  QFETCH(TextLanguage, language);
  CQtMainWindow window(language);
  std::vector<QRect> taken;
  for (QWidget* widget : TemplateWidgets(window)) {
    const QFontMetrics metrics = widget->fontMetrics();
    const QByteArray what = QByteArray::number(ControlIdOf(*widget)) + " " + widget->objectName().toUtf8();
    QRect extent = widget->geometry();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(), what);
      // A label reaches as far as its text: the template lets some run under their field.
      extent.setWidth(std::min(extent.width(), metrics.horizontalAdvance(label->text())));
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      // Room for the bevel on each side; a multi-line caption may take two lines.
      const QRect area = button->rect().adjusted(4, 2, -4, -2);
      QVERIFY2(area.contains(metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, button->text())), what);
    }
    if (widget->isHidden()) continue;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      // The fixed choices show whole in the field, whose line edit keeps 2 pixels each side.
      for (const char* choice : MainDialogTemplate().Find(ControlIdOf(*widget))->choices)
        QVERIFY2(metrics.horizontalAdvance(QString::fromUtf8(choice)) <= combo->lineEdit()->width() - 4,
                 what + " " + choice);
    }
    QVERIFY2(window.rect().contains(extent), what);
    for (const QRect& other : taken) QVERIFY2(!extent.intersects(other), what);
    taken.push_back(extent);
  }
}

QTEST_MAIN(CMainWindowInventoryTest)
#include "MainWindowInventoryTest.moc"
