// The program's command line: the language choice and what a bad argument gets.
#include <QTest>

#include "app/CommandLine.h"

using namespace tolvane;

class CCommandLineTest : public QObject {
  Q_OBJECT

 private slots:
  void Language_isEnglishUnlessChineseIsAskedFor() {
    int exitCode = -1;
    auto parsed = ParseCommandLine({"tolvane"}, exitCode);
    QVERIFY(parsed);
    QCOMPARE(parsed->language, TextLanguage::English);
    parsed = ParseCommandLine({"tolvane", "--language", "zh_CN"}, exitCode);
    QVERIFY(parsed);
    QCOMPARE(parsed->language, TextLanguage::Chinese);
    parsed = ParseCommandLine({"tolvane", "--language=en_US"}, exitCode);
    QVERIFY(parsed);
    QCOMPARE(parsed->language, TextLanguage::English);
    QCOMPARE(exitCode, 0);
  }

  void HelpAndVersion_areAnsweredWithoutAnApplication() {
    QVERIFY(PrintInformationIfAsked({"tolvane", "--help"}));
    QVERIFY(PrintInformationIfAsked({"tolvane", "-v"}));
    QVERIFY(!PrintInformationIfAsked({"tolvane", "--language", "zh_CN"}));
  }

  void BadArguments_endWithStatusTwo() {
    for (const QStringList& arguments :
         {QStringList{"tolvane", "--language", "fr_FR"}, QStringList{"tolvane", "--language"},
          QStringList{"tolvane", "--colour"}, QStringList{"tolvane", "COM3"}}) {
      int exitCode = -1;
      QVERIFY(!ParseCommandLine(arguments, exitCode));
      QCOMPARE(exitCode, 2);
    }
  }
};

QTEST_MAIN(CCommandLineTest)
#include "CommandLineTest.moc"
