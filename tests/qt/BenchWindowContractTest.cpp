// The bench window contract for the Qt bench window, offscreen, read through Qt's accessibility
// interfaces, as a screen reader reads it.
#include <QAccessible>
#include <QApplication>
#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "BenchWindowContract.h"
#include "qtbench/QtBenchTile.h"
#include "qtbench/QtBenchWindow.h"
#include "res/Strings.h"

namespace tolvane::contract {
namespace {

std::string NameOf(QObject* object) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
  return accessible ? accessible->text(QAccessible::Name).toStdString() : std::string();
}

class CQtBenchDriver {
 public:
  void Make(int slotCount, bool labels, bool pool, IBenchActions& bench) {
    m_window = std::make_unique<CQtBenchWindow>(slotCount, labels, pool);
    m_window->Attach(bench);
    m_window->confirmRelease = [this](const QString& question) {
      m_question = question.toStdString();
      return m_bRelease;
    };
    m_window->show();
    Drain();
  }
  IBenchWindow& Window() { return *m_window; }
  void Drain() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }

  CShownTile Tile(int slot) {
    CQtBenchTile* tile = Tiles().at(static_cast<std::size_t>(slot));
    CShownTile shown;
    shown.name = NameOf(tile);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(tile);
    for (int i = 0; i < accessible->childCount(); ++i) {
      QAccessibleInterface* child = accessible->child(i);
      if (!child->state().invisible && child->role() == QAccessible::StaticText && shown.status.empty())
        shown.status = child->text(QAccessible::Name).toStdString();
      if (child->role() == QAccessible::EditableText && child->text(QAccessible::Name) == QStringLiteral("Label"))
        shown.labelField = true;
      if (QAccessibleValueInterface* value = child->valueInterface()) {
        shown.progress = value->currentValue().toInt();
        shown.progressMaximum = value->maximumValue().toInt();
      }
    }
    return shown;
  }
  std::vector<std::string> Counters() {
    std::vector<std::string> texts;
    for (QObject* child : m_window->children())
      if (auto* label = qobject_cast<QLabel*>(child);
          label && label->isVisible() && NameOf(label).find(':') != std::string::npos)
        texts.push_back(NameOf(label));
    return texts;
  }
  std::vector<std::vector<std::string>> ClaimRows() {
    std::vector<std::vector<std::string>> rows;
    auto* claims = m_window->findChild<QTreeWidget*>();
    for (int row = 0; claims && row < claims->topLevelItemCount(); ++row) {
      rows.emplace_back();
      for (int column = 0; column < claims->columnCount(); ++column)
        rows.back().push_back(claims->topLevelItem(row)->text(column).toStdString());
    }
    return rows;
  }
  void TypeLabel(int slot, const std::string& text) {
    QLineEdit* field = Tiles().at(static_cast<std::size_t>(slot))->findChild<QLineEdit*>();
    field->setFocus();
    QTest::keyClicks(field, QString::fromStdString(text));
    QTest::keyClick(field, Qt::Key_Return);
  }
  std::string LabelField(int slot) {
    return Tiles().at(static_cast<std::size_t>(slot))->findChild<QLineEdit*>()->text().toStdString();
  }
  std::vector<std::string> OpenLog(int slot) {
    CQtBenchTile* tile = Tiles().at(static_cast<std::size_t>(slot));
    tile->setFocus();
    QTest::keyClick(tile, Qt::Key_Return);
    Drain();
    auto* dialog = m_window->findChild<QDialog*>();
    if (!dialog) return {};
    std::vector<std::string> lines;
    for (const QString& line : dialog->findChild<QPlainTextEdit*>()->toPlainText().split(QLatin1Char('\n')))
      lines.push_back(line.toStdString());
    dialog->close();
    return lines;
  }
  std::string ReleaseRow(int row, bool release) {
    auto* claims = m_window->findChild<QTreeWidget*>();
    claims->setCurrentItem(claims->topLevelItem(row));
    m_bRelease = release;
    for (QPushButton* button : m_window->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("Release")) QTest::mouseClick(button, Qt::LeftButton);
    Drain();
    return m_question;
  }
  void RequestClose() { m_window->close(); }
  bool IsOpen() { return m_window->isVisible(); }
  std::vector<std::string> Unnamed() {
    std::vector<std::string> unnamed;
    for (QWidget* widget : m_window->findChildren<QWidget*>()) {
      if (!widget->isVisible()) continue;
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
      const bool control = accessible && accessible->role() != QAccessible::Client &&
                           accessible->role() != QAccessible::Pane && accessible->role() != QAccessible::NoRole &&
                           accessible->role() != QAccessible::ScrollBar && accessible->role() != QAccessible::Column &&
                           !widget->inherits("QHeaderView") && !widget->inherits("QScrollBar");
      if (control && accessible->text(QAccessible::Name).isEmpty())
        unnamed.push_back(widget->metaObject()->className());
    }
    return unnamed;
  }

 private:
  std::vector<CQtBenchTile*> Tiles() {
    auto found = m_window->findChildren<CQtBenchTile*>();
    return {found.begin(), found.end()};
  }

  std::unique_ptr<CQtBenchWindow> m_window;
  std::string m_question;
  bool m_bRelease = false;
};

INSTANTIATE_TYPED_TEST_SUITE_P(QtBenchWindow, BenchWindowContract, CQtBenchDriver);

// Whatever font the machine gives (the test runs under several), in both languages, every
// caption fits its control: what a control needs is no more than what it was given.
TEST(QtBenchWindowFonts, everyCaptionFitsInBothLanguages) {
  for (const TextLanguage language : {TextLanguage::English, TextLanguage::Chinese}) {
    SetThreadTextLanguage(language);
    CRecordingBench bench;
    CQtBenchWindow window(4, true, true);
    window.Attach(bench);
    window.ShowBench(BenchOfFour());
    window.show();
    QCoreApplication::processEvents();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
      if (!widget->isVisible()) continue;
      auto* label = qobject_cast<QLabel*>(widget);
      auto* group = qobject_cast<QGroupBox*>(widget);
      const bool fixedText = qobject_cast<QAbstractButton*>(widget) || (label && !label->wordWrap());
      if (fixedText) {
        EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << widget->accessibleName().toStdString();
      }
      if (group) {
        EXPECT_GE(group->width(), group->fontMetrics().horizontalAdvance(group->title()))
            << group->title().toStdString();
      }
    }
  }
  SetThreadTextLanguage(TextLanguage::English);
}

}  // namespace
}  // namespace tolvane::contract

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
