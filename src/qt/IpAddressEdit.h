#pragma once

#include <QFrame>
#include <QLineEdit>
#include <array>
#include <cstdint>

namespace tolvane {

// An IPv4 address entered in four fields of 0-255, one tab stop as a whole, typed as the
// platform's own control takes it: "." moves to the next field, so does a third digit (and a "."
// right after that is swallowed); a value above 255 is refused as it is typed; a dotted address
// pasted into a field fills the fields from there.
class CIpAddressEdit : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kFieldCount = 4;

  explicit CIpAddressEdit(QWidget* parent = nullptr);

  void ClearAddress();
  // True when every field is empty.
  bool IsBlank() const;
  // First field in the highest byte; an empty field reads as 0.
  std::uint32_t GetAddress() const;
  void SetAddress(std::uint32_t address);
  // As shown, empty fields included: "192.168..".
  QString Text() const;

  QLineEdit* Field(int index) const { return m_fields[static_cast<std::size_t>(index)]; }
  // Each field is named after the whole control and its place in it.
  void SetAccessibleBaseName(const QString& name);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int IndexOf(QObject* field) const;
  void MoveTo(int index, bool cursorAtEnd);
  void OnFieldEdited(int index);
  void FillFrom(int index, const QString& dotted);

  std::array<QLineEdit*, kFieldCount> m_fields{};
  bool m_bMovedByItself = false;  // the last key filled a field and the focus moved on
};

}  // namespace tolvane
