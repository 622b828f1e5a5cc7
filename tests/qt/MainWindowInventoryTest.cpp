// The main window against its template: every control with its kind, styles, caption, place,
// visibility and tab order, in both languages.
#include <QComboBox>
#include <QFontMetrics>
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
#include "ui/ControlIds.h"

using namespace tolvane;
using namespace tolvane::qttest;

Q_DECLARE_METATYPE(tolvane::TextLanguage)

namespace {

bool IsTabStop(const CControlTemplate& row, TextLanguage language) {
  switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::Frame:
    case ControlKind::Icon:
    case ControlKind::SerialPort: return false;
    default: return !row.IsHidden(language);
  }
}

// The template controls of the window: creation order, but frames first.
std::vector<QWidget*> TemplateWidgets(const QWidget& window) {
  std::vector<QWidget*> widgets;
  for (QObject* child : window.children())
    if (auto* widget = qobject_cast<QWidget*>(child); widget && widget->property("controlId").isValid())
      widgets.push_back(widget);
  return widgets;
}

QRect FrameRect(const CDialogTemplate& dialog, FrameId frame, TextLanguage language) {
  for (const CControlTemplate& row : dialog.controls)
    if (row.kind == ControlKind::Frame && row.frame == frame) {
      const CDialogRect& r = row.Rect(language);
      return QRect(r.x, r.y, r.cx, r.cy);
    }
  return QRect(0, 0, dialog.Width(language), dialog.Height(language));
}

}  // namespace

class CMainWindowInventoryTest : public QObject {
  Q_OBJECT

 private slots:
  void Template_listsFiftyNineControlsWithUniqueIdsAndMembers();
  void Template_keepsEveryControlInsideItsFrame_data();
  void Template_keepsEveryControlInsideItsFrame();
  void Template_captionsMatchTheirFixedTexts();

  void Window_createsEveryRowInTemplateOrder_data();
  void Window_createsEveryRowInTemplateOrder();
  void Window_givesEachKindItsStyles();
  void Window_namesWidgetsForAccessibility_data();
  void Window_namesWidgetsForAccessibility();
  void Window_hidesLanguageControlsOnlyInEnglish();
  void Window_isFixedSizeWithoutMinimiseOrMaximise();
  void Window_tabOrderIsTemplateOrder_data();
  void Window_tabOrderIsTemplateOrder();
  void Layout_showsEveryCaptionWhole_data();
  void Layout_showsEveryCaptionWhole();
  void Layout_keepsVisibleControlsApart_data();
  void Layout_keepsVisibleControlsApart();

 private:
  static void AddLanguages() {
    QTest::addColumn<TextLanguage>("language");
    QTest::newRow("English") << TextLanguage::English;
    QTest::newRow("Chinese") << TextLanguage::Chinese;
  }
};

void CMainWindowInventoryTest::Template_listsFiftyNineControlsWithUniqueIdsAndMembers() {
  const CDialogTemplate& dialog = MainDialogTemplate();
  QCOMPARE(dialog.controls.size(), std::size_t{59});
  std::set<int> ids;
  std::set<std::string> members;
  int frames = 0;
  for (const CControlTemplate& row : dialog.controls) {
    if (row.kind == ControlKind::Frame) ++frames;
    if (row.id != IDC_STATIC) QVERIFY2(ids.insert(row.id).second, qPrintable(QString::number(row.id)));
    if (*row.member) QVERIFY2(members.insert(row.member).second, row.member);
    // Every input and list is named by a label for assistive tools.
    const bool input = row.kind != ControlKind::Label && row.kind != ControlKind::Frame &&
                       row.kind != ControlKind::Button && row.kind != ControlKind::SerialPort;
    QCOMPARE(*row.accessibleName.english != '\0', input);
    QCOMPARE(*row.accessibleName.chinese != '\0', input);
  }
  QCOMPARE(frames, 6);
  QCOMPARE(members.size(), std::size_t{38});  // the bound control members
  QCOMPARE(ids.size(), std::size_t{52});      // 1001 to 1052
  QCOMPARE(*ids.begin(), 1001);
  QCOMPARE(*ids.rbegin(), 1052);
  QCOMPARE(dialog.Width(TextLanguage::English), 381);
  QCOMPARE(dialog.Width(TextLanguage::Chinese), 353);
  QCOMPARE(dialog.Height(TextLanguage::Chinese), 387);
}

void CMainWindowInventoryTest::Template_keepsEveryControlInsideItsFrame_data() { AddLanguages(); }

void CMainWindowInventoryTest::Template_keepsEveryControlInsideItsFrame() {
  QFETCH(TextLanguage, language);
  const CDialogTemplate& dialog = MainDialogTemplate();
  for (const CControlTemplate& row : dialog.controls) {
    const CDialogRect& r = row.Rect(language);
    const QRect frame = FrameRect(dialog, row.frame, language);
    QVERIFY2(frame.contains(QRect(r.x, r.y, r.cx, r.cy)) || row.kind == ControlKind::ComboBox,
             qPrintable(QString("control %1 (%2)").arg(row.id).arg(row.member)));
  }
}

void CMainWindowInventoryTest::Template_captionsMatchTheirFixedTexts() {
  const CDialogTemplate& dialog = MainDialogTemplate();
  QCOMPARE(dialog.title.english, "Tolvane");
  QCOMPARE(dialog.Find(IDC_SET_ACCOUNT)->caption.english, "Set Account/Pw");
  QVERIFY(dialog.Find(IDC_SET_ACCOUNT)->IsMultiLine(TextLanguage::English));
  QVERIFY(!dialog.Find(IDC_SET_ACCOUNT)->IsMultiLine(TextLanguage::Chinese));
  QCOMPARE(dialog.Find(IDC_WIFI_CONNECT)->caption.chinese, "连接Wi-Fi");
  QCOMPARE(dialog.Find(IDC_FACTORY_RESET)->caption.chinese, "恢复出厂设置");
  QCOMPARE(KindCode(dialog.Find(IDC_BT_PIN)->kind), "E-num-pw");
  QCOMPARE(KindCode(dialog.Find(IDC_GPS_RAW)->kind), "E-multi");
  QCOMPARE(dialog.Find(IDC_WIFI_LIST)->Rect(TextLanguage::English).cx, 366);
  QCOMPARE(dialog.Find(IDC_WIFI_LIST)->Rect(TextLanguage::Chinese).cx, 342);
}

void CMainWindowInventoryTest::Window_createsEveryRowInTemplateOrder_data() { AddLanguages(); }

void CMainWindowInventoryTest::Window_createsEveryRowInTemplateOrder() {
  QFETCH(TextLanguage, language);
  CQtMainWindow window(language);
  // Frames sit underneath the rest, so they are compared apart.
  std::vector<QWidget*> widgets;
  int frames = 0;
  for (QWidget* widget : TemplateWidgets(window)) {
    if (qstrcmp(widget->metaObject()->className(), "QFrame") == 0)
      ++frames;
    else
      widgets.push_back(widget);
  }
  QCOMPARE(frames, 6);
  std::size_t next = 0;
  for (const CControlTemplate& row : MainDialogTemplate().controls) {
    if (row.kind == ControlKind::SerialPort || row.kind == ControlKind::Frame) continue;
    QVERIFY(next < widgets.size());
    QWidget* widget = widgets[next++];
    QCOMPARE(ControlIdOf(*widget), row.id);
    QCOMPARE(widget->objectName(), QString::fromUtf8(row.member));
    const QString caption = QString::fromUtf8(row.caption.Get(language));
    if (auto* label = qobject_cast<QLabel*>(widget)) QCOMPARE(label->text(), caption);
    if (auto* button = qobject_cast<QPushButton*>(widget)) QCOMPARE(button->text(), caption);
  }
  QCOMPARE(next, widgets.size());
  // The serial port has no visible part at all.
  QCOMPARE(window.Control(IDC_COMM), nullptr);
}

void CMainWindowInventoryTest::Window_givesEachKindItsStyles() {
  CQtMainWindow window;
  for (const CControlTemplate& row : MainDialogTemplate().controls) {
    if (row.id == IDC_STATIC) continue;
    QWidget* widget = window.Control(row.id);
    const QByteArray what = QByteArray::number(row.id) + " " + KindCode(row.kind).data();
    if (row.kind == ControlKind::SerialPort) {
      QVERIFY2(!widget, what);
      continue;
    }
    QVERIFY2(widget, what);
    auto* edit = qobject_cast<QLineEdit*>(widget);
    switch (row.kind) {
      case ControlKind::Label: QVERIFY2(qobject_cast<QLabel*>(widget), what); break;
      case ControlKind::Button:
        QVERIFY2(qobject_cast<QPushButton*>(widget), what);
        QVERIFY2(widget->focusPolicy() & Qt::TabFocus, what);
        break;
      case ControlKind::Edit:
      case ControlKind::EditPassword:
      case ControlKind::EditReadOnly:
      case ControlKind::EditNumber:
      case ControlKind::EditNumberPassword: {
        QVERIFY2(edit, what);
        const bool masked = row.kind == ControlKind::EditPassword || row.kind == ControlKind::EditNumberPassword;
        const bool digitsOnly = row.kind == ControlKind::EditNumber || row.kind == ControlKind::EditNumberPassword;
        QCOMPARE(edit->echoMode() == QLineEdit::Password, masked);
        QCOMPARE(edit->isReadOnly(), row.kind == ControlKind::EditReadOnly);
        if (edit->isReadOnly()) break;
        edit->clear();
        QTest::keyClicks(edit, "4a2-7 ");
        QCOMPARE(edit->text(), QString(digitsOnly ? "427" : "4a2-7 "));
        break;
      }
      case ControlKind::EditMulti: {
        auto* multi = qobject_cast<QPlainTextEdit*>(widget);
        QVERIFY2(multi, what);
        QVERIFY(multi->isReadOnly());
        QCOMPARE(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        break;
      }
      case ControlKind::ComboBox: {
        auto* combo = qobject_cast<QComboBox*>(widget);
        QVERIFY2(combo && combo->isEditable(), what);
        break;
      }
      case ControlKind::ListView: {
        auto* list = qobject_cast<CReportList*>(widget);
        QVERIFY2(list, what);
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(list->columnCount(), 0);
        break;
      }
      case ControlKind::IpAddress: QVERIFY2(qobject_cast<CIpAddressEdit*>(widget), what); break;
      default: QFAIL(what.constData());
    }
  }
}

void CMainWindowInventoryTest::Window_namesWidgetsForAccessibility_data() { AddLanguages(); }

void CMainWindowInventoryTest::Window_namesWidgetsForAccessibility() {
  QFETCH(TextLanguage, language);
  CQtMainWindow window(language);
  QCOMPARE(window.Control(IDC_UPDATE_IP)->objectName(), QString("m_btnUpdateIp"));
  QCOMPARE(window.Control(IDC_APN_NAME)->accessibleName(),
           QString(language == TextLanguage::English ? "APN" : "APN名"));
  QCOMPARE(window.Control(IDC_BT_LIST)->accessibleName(),
           QString(language == TextLanguage::English ? "Bluetooth Devices List" : "蓝牙设备列表"));
  QCOMPARE(window.Control(IDC_BT_PIN)->accessibleName(),
           QString(language == TextLanguage::English ? "PIN code" : "配对PIN码"));
  auto* address = qobject_cast<CIpAddressEdit*>(window.Control(IDC_SERVER_IP));
  QVERIFY(!address->accessibleName().isEmpty());
  QVERIFY(address->Field(2)->accessibleName().startsWith(address->accessibleName()));
}

void CMainWindowInventoryTest::Window_hidesLanguageControlsOnlyInEnglish() {
  CQtMainWindow english(TextLanguage::English);
  CQtMainWindow chinese(TextLanguage::Chinese);
  english.show();
  chinese.show();
  QVERIFY(QTest::qWaitForWindowExposed(&english));
  QVERIFY(QTest::qWaitForWindowExposed(&chinese));
  for (const int id : {IDC_LANGUAGE, IDC_SET_LANGUAGE}) {
    QVERIFY(!english.Control(id)->isVisible());
    QVERIFY(chinese.Control(id)->isVisible());
  }
  QVERIFY(english.Control(IDC_SET_NETWORK)->isVisible());
  QCOMPARE(qobject_cast<QPushButton*>(chinese.Control(IDC_SET_LANGUAGE))->text(), QString("设置语言"));
}

void CMainWindowInventoryTest::Window_isFixedSizeWithoutMinimiseOrMaximise() {
  CQtMainWindow window;
  QCOMPARE(window.windowTitle(), QString("Tolvane"));
  QVERIFY(!window.windowIcon().isNull());
  QCOMPARE(window.minimumSize(), window.maximumSize());
  const Qt::WindowFlags flags = window.windowFlags();
  QVERIFY(flags & Qt::Window);
  QVERIFY(flags & Qt::WindowCloseButtonHint);
  QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
  QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
  QVERIFY(!window.parentWidget());  // a window of its own, with its own task-bar entry
  // The English template is the wider one.
  CQtMainWindow chinese(TextLanguage::Chinese);
  QVERIFY(window.width() > chinese.width());
  QCOMPARE(window.height(), chinese.height());
}

void CMainWindowInventoryTest::Window_tabOrderIsTemplateOrder_data() { AddLanguages(); }

void CMainWindowInventoryTest::Window_tabOrderIsTemplateOrder() {
  QFETCH(TextLanguage, language);
  CQtMainWindow window(language);
  window.show();
  QApplication::setActiveWindow(&window);
  QVERIFY(QTest::qWaitForWindowActive(&window));

  std::vector<int> expected;
  for (const CControlTemplate& row : MainDialogTemplate().controls)
    if (IsTabStop(row, language)) expected.push_back(row.id);
  window.Control(expected.front())->setFocus(Qt::TabFocusReason);
  std::vector<int> visited{OwningControlId(QApplication::focusWidget())};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(OwningControlId(QApplication::focusWidget()));
  }
  expected.push_back(expected.front());  // and round again
  QCOMPARE(visited, expected);
}

void CMainWindowInventoryTest::Layout_showsEveryCaptionWhole_data() { AddLanguages(); }

void CMainWindowInventoryTest::Layout_showsEveryCaptionWhole() {
  QFETCH(TextLanguage, language);
  CQtMainWindow window(language);
  for (QWidget* widget : TemplateWidgets(window)) {
    const QFontMetrics metrics = widget->fontMetrics();
    const QByteArray what = QByteArray::number(ControlIdOf(*widget)) + " " + widget->objectName().toUtf8();
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
      QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(), what + " " + label->text().toUtf8());
      QVERIFY2(metrics.height() <= label->height(), what);
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      // Room for the bevel on each side; a multi-line caption may take two lines.
      const QRect area = button->rect().adjusted(4, 2, -4, -2);
      const QRect needed = metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, button->text());
      QVERIFY2(area.contains(needed), what + " " + button->text().toUtf8());
    }
  }
}

void CMainWindowInventoryTest::Layout_keepsVisibleControlsApart_data() { AddLanguages(); }

void CMainWindowInventoryTest::Layout_keepsVisibleControlsApart() {
  QFETCH(TextLanguage, language);
  CQtMainWindow window(language);
  std::vector<QWidget*> widgets;
  for (QWidget* widget : TemplateWidgets(window))
    if (!widget->isHidden() && qstrcmp(widget->metaObject()->className(), "QFrame") != 0) widgets.push_back(widget);
  // A label reaches as far as its text does; the template lets some labels run under their field.
  const auto extent = [](const QWidget* widget) {
    QRect rect = widget->geometry();
    if (auto* label = qobject_cast<const QLabel*>(widget))
      rect.setWidth(std::min(rect.width(), label->fontMetrics().horizontalAdvance(label->text())));
    return rect;
  };
  for (std::size_t a = 0; a < widgets.size(); ++a) {
    QVERIFY2(window.rect().contains(widgets[a]->geometry()), qPrintable(widgets[a]->objectName()));
    for (std::size_t b = a + 1; b < widgets.size(); ++b)
      QVERIFY2(!extent(widgets[a]).intersects(extent(widgets[b])),
               qPrintable(QString("%1 and %2").arg(ControlIdOf(*widgets[a])).arg(ControlIdOf(*widgets[b]))));
  }
}

QTEST_MAIN(CMainWindowInventoryTest)
#include "MainWindowInventoryTest.moc"
