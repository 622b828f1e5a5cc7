#include "qt/IpAddressEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QValidator>
#include <functional>
#include <utility>

namespace tolvane {
namespace {

bool IsByteText(const QString& text) {
  if (text.size() > 3) return false;
  for (const QChar c : text)
    if (c < u'0' || c > u'9') return false;
  return text.isEmpty() || text.toInt() <= 255;
}

// Up to three digits worth at most 255; anything else is refused as typed. A dotted address that
// arrives whole (pasted or dropped) is handed to the control to spread over the fields.
class CByteValidator : public QValidator {
 public:
  CByteValidator(std::function<void(const QString&)> onDotted, QObject* parent)
      : QValidator(parent), m_onDotted(std::move(onDotted)) {}
  State validate(QString& input, int&) const override {
    if (IsByteText(input)) return Acceptable;
    if (input.contains(u'.')) {
      // Not while validating: the field's own change is still under way.
      QMetaObject::invokeMethod(
          const_cast<CByteValidator*>(this), [onDotted = m_onDotted, input] { onDotted(input); }, Qt::QueuedConnection);
    }
    return Invalid;
  }

 private:
  std::function<void(const QString&)> m_onDotted;
};

}  // namespace

CIpAddressEdit::CIpAddressEdit(QWidget* parent) : QFrame(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->setSpacing(0);
  for (int i = 0; i < kFieldCount; ++i) {
    if (i > 0) {
      auto* dot = new QLabel(QStringLiteral("."), this);
      dot->setAlignment(Qt::AlignCenter);
      layout->addWidget(dot);
    }
    auto* field = new QLineEdit(this);
    field->setFrame(false);
    field->setAlignment(Qt::AlignCenter);
    field->setValidator(new CByteValidator([this, i](const QString& text) { FillFrom(i, text); }, field));
    field->setObjectName(QStringLiteral("field%1").arg(i + 1));
    // One tab stop for the whole address: only the first field is reached by Tab.
    field->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this, [this, i] { OnFieldEdited(i); });
    layout->addWidget(field, 1);
    m_fields[static_cast<std::size_t>(i)] = field;
  }
  setFocusProxy(m_fields[0]);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
}

void CIpAddressEdit::ClearAddress() {
  for (QLineEdit* field : m_fields) field->clear();
}

bool CIpAddressEdit::IsBlank() const {
  for (const QLineEdit* field : m_fields)
    if (!field->text().isEmpty()) return false;
  return true;
}

std::uint32_t CIpAddressEdit::GetAddress() const {
  std::uint32_t address = 0;
  for (const QLineEdit* field : m_fields) address = (address << 8) | (field->text().toUInt() & 0xFFu);
  return address;
}

void CIpAddressEdit::SetAddress(std::uint32_t address) {
  for (int i = 0; i < kFieldCount; ++i)
    m_fields[static_cast<std::size_t>(i)]->setText(QString::number((address >> (8 * (kFieldCount - 1 - i))) & 0xFFu));
}

QString CIpAddressEdit::Text() const {
  QStringList parts;
  for (const QLineEdit* field : m_fields) parts << field->text();
  return parts.join(u'.');
}

void CIpAddressEdit::SetAccessibleBaseName(const QString& name) {
  setAccessibleName(name);
  for (int i = 0; i < kFieldCount; ++i)
    m_fields[static_cast<std::size_t>(i)]->setAccessibleName(QStringLiteral("%1 %2").arg(name).arg(i + 1));
}

int CIpAddressEdit::IndexOf(QObject* field) const {
  for (int i = 0; i < kFieldCount; ++i)
    if (m_fields[static_cast<std::size_t>(i)] == field) return i;
  return -1;
}

void CIpAddressEdit::MoveTo(int index, bool cursorAtEnd) {
  if (index < 0 || index >= kFieldCount) return;
  QLineEdit* field = m_fields[static_cast<std::size_t>(index)];
  field->setFocus(Qt::OtherFocusReason);
  if (cursorAtEnd)
    field->end(false);
  else
    field->selectAll();
}

void CIpAddressEdit::OnFieldEdited(int index) {
  const QLineEdit* field = m_fields[static_cast<std::size_t>(index)];
  if (field->text().size() == 3 && field->cursorPosition() == 3 && index + 1 < kFieldCount) {
    MoveTo(index + 1, false);
    m_bMovedByItself = true;
  }
}

void CIpAddressEdit::FillFrom(int index, const QString& dotted) {
  const QStringList parts = dotted.split(u'.');
  if (parts.size() > kFieldCount - index) return;
  for (const QString& part : parts)
    if (!IsByteText(part)) return;
  for (int i = 0; i < parts.size(); ++i) m_fields[static_cast<std::size_t>(index + i)]->setText(parts[i]);
  MoveTo(index + static_cast<int>(parts.size()) - 1, true);
}

bool CIpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
  const int index = IndexOf(watched);
  if (index < 0) return QFrame::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) update();
  if (event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const QLineEdit* field = m_fields[static_cast<std::size_t>(index)];
  const bool movedByItself = std::exchange(m_bMovedByItself, false);
  if (key->text() == QStringLiteral(".")) {
    // The dot is never part of a field. Right after the third digit moved on by itself it is the
    // user's own move, already made; in a field without digits it has nothing to end.
    if (!movedByItself && !field->text().isEmpty()) MoveTo(index + 1, false);
    return true;
  }
  const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
  const bool atEnd = field->cursorPosition() == field->text().size() && !field->hasSelectedText();
  if ((key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Left) && atStart && index > 0) {
    MoveTo(index - 1, true);
    return true;
  }
  if (key->key() == Qt::Key_Right && atEnd && index + 1 < kFieldCount) {
    MoveTo(index + 1, false);
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

void CIpAddressEdit::paintEvent(QPaintEvent*) {
  // Drawn as one line edit, so the four fields read as a single control.
  QStylePainter painter(this);
  QStyleOptionFrame option;
  option.initFrom(this);
  option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  option.midLineWidth = 0;
  option.state |= QStyle::State_Sunken;
  if (m_fields[0]->hasFocus() || m_fields[1]->hasFocus() || m_fields[2]->hasFocus() || m_fields[3]->hasFocus())
    option.state |= QStyle::State_HasFocus;
  painter.drawPrimitive(QStyle::PE_PanelLineEdit, option);
}

void CIpAddressEdit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) update();
  QFrame::changeEvent(event);
}

}  // namespace tolvane
