#include "qt/ControlFactory.h"
#include "qt/TypingRules.h"

#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "qt/DialogUnits.h"
#include "qt/DropDownComboBox.h"
#include "qt/IpAddressEdit.h"
#include "qt/QtAppIcon.h"
#include "qt/ReportList.h"

namespace tolvane {
namespace {

const char kControlIdProperty[] = "controlId";

// A push button that keeps its caption off the bevel. With the multi-line style the caption goes
// onto two lines when one is too narrow.
class CCaptionButton : public QPushButton {
 public:
  CCaptionButton(const QString& caption, bool multiLine, QWidget* parent)
      : QPushButton(caption, parent), m_bMultiLine(multiLine) {}

  // The width at which `caption` fits on one line.
  int WidthForCaption(const QString& caption) const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return width() - CaptionArea(option).width() + fontMetrics().horizontalAdvance(caption);
  }
  bool IsMultiLine() const { return m_bMultiLine; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect textArea = CaptionArea(option);
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextWordWrap;
    const bool oneLineFits = fontMetrics().horizontalAdvance(option.text) <= textArea.width();
    if (!m_bMultiLine || oneLineFits || !option.icon.isNull()) {
      QPushButton::paintEvent(event);
      return;
    }
    QStylePainter painter(this);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.drawItemText(textArea, flags, palette(), isEnabled(), caption, QPalette::ButtonText);
  }

 private:
  QRect CaptionArea(const QStyleOptionButton& option) const {
    const int inset = std::max(4, fontMetrics().averageCharWidth() * 2 / 3);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(inset, 0, -inset, 0);
  }

  bool m_bMultiLine;
};

QLineEdit* CreateEdit(ControlKind kind, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  if (kind == ControlKind::EditPassword || kind == ControlKind::EditNumberPassword)
    edit->setEchoMode(QLineEdit::Password);
  if (kind == ControlKind::EditReadOnly) {
    edit->setReadOnly(true);
    // Read-only fields sit on the window's background, as the platform draws them.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
  }
  const bool digitsOnly = kind == ControlKind::EditNumber || kind == ControlKind::EditNumberPassword;
  edit->setValidator(new CTypingRules(*edit, digitsOnly));
  return edit;
}

QComboBox* CreateComboBox(QWidget* parent) {
  auto* combo = new CDropDownComboBox(parent);
  combo->setEditable(true);
  // Items are placed in sorted order by the window; the typed text never becomes an item.
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  // Like the platform's combo box, show the start of a chosen item that is wider than the field.
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo] { combo->lineEdit()->setCursorPosition(0); });
  // The field is narrow ("COM200 (ttySIM0)" does not fit): the tooltip and the open list show it whole.
  QObject::connect(combo, &QComboBox::currentTextChanged, combo,
                   [combo](const QString& text) { combo->setToolTip(text); });
  return combo;
}

QPlainTextEdit* CreateMultiLineEdit(QWidget* parent) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setReadOnly(true);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  edit->setTabChangesFocus(true);
  // Only the program writes here: nothing for the user to undo, and no history to grow.
  edit->setUndoRedoEnabled(false);
  return edit;
}

QWidget* CreateByKind(const CControlTemplate& row, TextLanguage language, QWidget* parent) {
  const QString caption = QString::fromUtf8(row.caption.Get(language));
  switch (row.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(caption, parent);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case ControlKind::Button: return new CCaptionButton(caption, row.IsMultiLine(language), parent);
    case ControlKind::DefaultButton: {
      auto* button = new CCaptionButton(caption, false, parent);
      button->setDefault(true);
      return button;
    }
    case ControlKind::Edit:
    case ControlKind::EditPassword:
    case ControlKind::EditReadOnly:
    case ControlKind::EditNumber:
    case ControlKind::EditNumberPassword: return CreateEdit(row.kind, parent);
    case ControlKind::EditMulti: return CreateMultiLineEdit(parent);
    case ControlKind::ComboBox: return CreateComboBox(parent);
    case ControlKind::ListView: return new CReportList(parent);
    case ControlKind::IpAddress: return new CIpAddressEdit(parent);
    case ControlKind::Frame: {
      auto* frame = new QFrame(parent);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      // Clicks go to what lies inside, or to the dialog.
      frame->setAttribute(Qt::WA_TransparentForMouseEvents);
      return frame;
    }
    case ControlKind::Icon: {
      auto* icon = new QLabel(parent);
      icon->setPixmap(AppIconPixmap());
      return icon;
    }
    case ControlKind::SerialPort: return nullptr;
  }
  return nullptr;
}

}  // namespace

QWidget* CreateControl(const CControlTemplate& row, TextLanguage language, QWidget* parent) {
  QWidget* widget = CreateByKind(row, language, parent);
  if (!widget) return nullptr;
  widget->setProperty(kControlIdProperty, row.id);
  if (*row.member) widget->setObjectName(QString::fromUtf8(row.member));
  const QString accessibleName = QString::fromUtf8(row.accessibleName.Get(language));
  if (!accessibleName.isEmpty()) {
    if (auto* address = qobject_cast<CIpAddressEdit*>(widget))
      address->SetAccessibleBaseName(accessibleName);
    else
      widget->setAccessibleName(accessibleName);
  }
  if (row.IsHidden(language)) widget->setHidden(true);
  return widget;
}

void PlaceControl(QWidget& widget, const CControlTemplate& row, TextLanguage language, const CDialogScale& scale) {
  QRect rect = ToPixels(scale, row.Rect(language));
  if (row.kind == ControlKind::ComboBox) rect.setHeight(widget.sizeHint().height());
  // An icon control takes the size of its icon.
  if (row.kind == ControlKind::Icon) rect.setSize(widget.sizeHint());
  widget.setGeometry(rect);
}

CCaptionSize MeasureCaption(const QWidget& widget, std::string_view text) {
  const QFontMetrics metrics = widget.fontMetrics();
  const QString caption = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    // The field's line edit keeps 2 pixels of its own each side of the text.
    return {combo->width() - field.width() + 4 + metrics.horizontalAdvance(caption), metrics.height()};
  }
  if (const auto* button = dynamic_cast<const CCaptionButton*>(&widget)) {
    if (!button->IsMultiLine()) return {button->WidthForCaption(caption), metrics.height()};
    // Lines keep 4 pixels from the bevel at the sides and 2 above and below.
    const QRect lines = metrics.boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), Qt::AlignLeft, caption);
    return {lines.width() + 8, lines.height() + 4};
  }
  return {metrics.horizontalAdvance(caption), metrics.height()};
}

int ControlIdOf(const QWidget& widget) {
  const QVariant id = widget.property(kControlIdProperty);
  return id.isValid() ? id.toInt() : IDC_STATIC;
}

}  // namespace tolvane
