// The IPv4 address control: four fields of 0-255 typed as the platform's control takes them.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include "qt/IpAddressEdit.h"

using namespace tolvane;

class CIpAddressEditTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void Typing_dottedAddress_fillsTheFourFields();
  void Typing_addressKeyByKey_arrivesAsTyped_data();
  void Typing_addressKeyByKey_arrivesAsTyped();
  void Typing_dotInAFieldWithoutDigits_doesNothing();
  void Typing_thirdDigit_movesToNextField();
  void Pasting_dottedAddress_fillsTheFourFields();
  void Pasting_somethingElse_changesNothing();
  void Typing_valueAbove255_isRefused();
  void Typing_lettersAndDotInLastField_areRefused();
  void Typing_backspaceAtFieldStart_returnsToPreviousField();
  void Reading_blankField_countsAsZero();
  void ClearAndSet_roundTripWithFirstFieldHighest();

 private:
  QStringList Fields() const {
    QStringList fields;
    for (int i = 0; i < CIpAddressEdit::kFieldCount; ++i) fields << m_edit->Field(i)->text();
    return fields;
  }
  QWidget* Focused() const { return QApplication::focusWidget(); }
  // Each key goes where the focus is at that moment, as a user's typing does.
  void Type(const char* keys) const {
    for (const char* key = keys; *key; ++key) QTest::keyClick(Focused(), *key);
  }

  CIpAddressEdit* m_edit = nullptr;
};

void CIpAddressEditTest::init() {
  m_edit = new CIpAddressEdit;
  m_edit->resize(180, 28);
  m_edit->show();
  QApplication::setActiveWindow(m_edit);
  QVERIFY(QTest::qWaitForWindowActive(m_edit));
  m_edit->setFocus();
}

void CIpAddressEditTest::cleanup() {
  delete m_edit;
  m_edit = nullptr;
}

void CIpAddressEditTest::Typing_dottedAddress_fillsTheFourFields() {
  QCOMPARE(Focused(), m_edit->Field(0));
  Type("10.0.42.7");
  QCOMPARE(Fields(), QStringList({"10", "0", "42", "7"}));
  QCOMPARE(m_edit->GetAddress(), 0x0A002A07u);
  QVERIFY(!m_edit->IsBlank());
  QCOMPARE(m_edit->Text(), QString("10.0.42.7"));
}

void CIpAddressEditTest::Typing_addressKeyByKey_arrivesAsTyped_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QStringList>("fields");
  QTest::newRow("three digits then a dot") << "192.168.1.10" << QStringList({"192", "168", "1", "10"});
  QTest::newRow("short parts") << "10.0.0.1" << QStringList({"10", "0", "0", "1"});
  QTest::newRow("one digit each") << "1.2.3.4" << QStringList({"1", "2", "3", "4"});
  QTest::newRow("every field full") << "255.255.255.255" << QStringList({"255", "255", "255", "255"});
}

void CIpAddressEditTest::Typing_addressKeyByKey_arrivesAsTyped() {
  QFETCH(QString, typed);
  QFETCH(QStringList, fields);
  Type(typed.toLatin1().constData());
  QCOMPARE(Fields(), fields);
  QCOMPARE(m_edit->Text(), typed);
}

void CIpAddressEditTest::Typing_dotInAFieldWithoutDigits_doesNothing() {
  Type(".");
  QCOMPARE(Focused(), m_edit->Field(0));
  Type("7..");
  QCOMPARE(Focused(), m_edit->Field(1));
  Type("8");
  QCOMPARE(Fields(), QStringList({"7", "8", "", ""}));
  // Backspace in the empty field goes back to the one before.
  Type(".");
  QTest::keyClick(Focused(), Qt::Key_Backspace);
  QCOMPARE(Focused(), m_edit->Field(1));
}

void CIpAddressEditTest::Pasting_dottedAddress_fillsTheFourFields() {
  QGuiApplication::clipboard()->setText(QStringLiteral("192.168.1.10"));
  QTest::keySequence(Focused(), QKeySequence::Paste);
  QTRY_COMPARE(Fields(), QStringList({"192", "168", "1", "10"}));
  QCOMPARE(m_edit->GetAddress(), 0xC0A8010Au);
}

void CIpAddressEditTest::Pasting_somethingElse_changesNothing() {
  Type("10");
  for (const char* text : {"1.2.3.4.5", "300.1.1.1", "a.b.c.d", "example.com"}) {
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
    QTest::keySequence(Focused(), QKeySequence::Paste);
    QTest::qWait(20);
    QCOMPARE(Fields(), QStringList({"10", "", "", ""}));
  }
}

void CIpAddressEditTest::Typing_thirdDigit_movesToNextField() {
  Type("1921681");
  QCOMPARE(Fields(), QStringList({"192", "168", "1", ""}));
  QCOMPARE(Focused(), m_edit->Field(2));
}

void CIpAddressEditTest::Typing_valueAbove255_isRefused() {
  Type("300");
  QCOMPARE(m_edit->Field(0)->text(), QString("30"));
  QCOMPARE(Focused(), m_edit->Field(0));
  Type(".256");
  QCOMPARE(m_edit->Field(1)->text(), QString("25"));
  Type("5");
  QCOMPARE(m_edit->Field(1)->text(), QString("255"));
}

void CIpAddressEditTest::Typing_lettersAndDotInLastField_areRefused() {
  Type("1a.b2.-3.4.");
  QCOMPARE(Fields(), QStringList({"1", "2", "3", "4"}));
  QCOMPARE(Focused(), m_edit->Field(3));
}

void CIpAddressEditTest::Typing_backspaceAtFieldStart_returnsToPreviousField() {
  Type("12.");
  QCOMPARE(Focused(), m_edit->Field(1));
  QTest::keyClick(Focused(), Qt::Key_Backspace);
  QCOMPARE(Focused(), m_edit->Field(0));
  QTest::keyClick(Focused(), Qt::Key_Backspace);
  QCOMPARE(m_edit->Field(0)->text(), QString("1"));
}

void CIpAddressEditTest::Reading_blankField_countsAsZero() {
  QVERIFY(m_edit->IsBlank());
  QCOMPARE(m_edit->GetAddress(), 0u);
  Type("10");
  m_edit->Field(3)->setFocus();
  Type("7");
  QCOMPARE(Fields(), QStringList({"10", "", "", "7"}));
  QVERIFY(!m_edit->IsBlank());
  QCOMPARE(m_edit->GetAddress(), 0x0A000007u);
}

void CIpAddressEditTest::ClearAndSet_roundTripWithFirstFieldHighest() {
  m_edit->SetAddress(0xC0A80001u);
  QCOMPARE(Fields(), QStringList({"192", "168", "0", "1"}));
  QCOMPARE(m_edit->GetAddress(), 0xC0A80001u);
  m_edit->SetAddress(0);
  QCOMPARE(Fields(), QStringList({"0", "0", "0", "0"}));
  QVERIFY(!m_edit->IsBlank());  // zeros are an address, not a blank
  m_edit->ClearAddress();
  QVERIFY(m_edit->IsBlank());
  QCOMPARE(Fields(), QStringList({"", "", "", ""}));
}

QTEST_MAIN(CIpAddressEditTest)
#include "IpAddressEditTest.moc"
