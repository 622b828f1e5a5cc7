// The About box built from template 100.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/AboutDlg.h"

using namespace tolvane;

namespace {

QStringList LabelTexts(const QWidget& dialog) {
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    if (!label->text().isEmpty()) texts << label->text();
  return texts;
}

}  // namespace

class CAboutDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void English_showsTitleIconVersionAndOk();
  void Chinese_showsItsOwnTexts();
  void OkOrEsc_endTheBox();
};

void CAboutDlgTest::English_showsTitleIconVersionAndOk() {
  CAboutDlg about(nullptr, TextLanguage::English);
  QCOMPARE(about.windowTitle(), QString("About Tolvane"));
  QCOMPARE(LabelTexts(about), QStringList{"Version 1.1"});
  const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
  QCOMPARE(buttons.size(), 1);
  QCOMPARE(buttons.front()->text(), QString("OK"));
  QVERIFY(buttons.front()->isDefault());
  bool iconShown = false;
  for (const QLabel* label : about.findChildren<QLabel*>())
    if (!label->pixmap().isNull()) iconShown = label->pixmap().size() == QSize(32, 32);
  QVERIFY(iconShown);
  QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
  QCOMPARE(about.minimumSize(), about.maximumSize());
}

void CAboutDlgTest::Chinese_showsItsOwnTexts() {
  CAboutDlg about(nullptr, TextLanguage::Chinese);
  QCOMPARE(about.windowTitle(), QString("关于 Tolvane"));
  QCOMPARE(LabelTexts(about), QStringList{"1.1 版"});
  QCOMPARE(about.findChild<QPushButton*>()->text(), QString("确定"));
}

void CAboutDlgTest::OkOrEsc_endTheBox() {
  CAboutDlg about;
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  QTest::mouseClick(about.findChild<QPushButton*>(), Qt::LeftButton);
  QVERIFY(!about.isVisible());
  QCOMPARE(about.result(), int(QDialog::Accepted));

  about.show();
  QApplication::setActiveWindow(&about);
  QVERIFY(QTest::qWaitForWindowActive(&about));
  QTest::keyClick(&about, Qt::Key_Escape);
  QVERIFY(!about.isVisible());
  QCOMPARE(about.result(), int(QDialog::Rejected));
}

QTEST_MAIN(CAboutDlgTest)
#include "AboutDlgTest.moc"
