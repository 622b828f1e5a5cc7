// The IPv4 address control: four fields of 0-255 typed as the platform's control takes them.
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
  void Typing_thirdDigit_movesToNextField();
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
  Type("10...7");
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
