// The control operations that the logic performs, addressed by control id.
#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>

#include "qt/IpAddressEdit.h"
#include "qt/QtMainWindow.h"
#include "qt/ReportList.h"
#include "qt/TypingRules.h"
#include "res/ControlIds.h"

namespace tolvane {
namespace {

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QComboBox* CQtMainWindow::Combo(int id) const { return qobject_cast<QComboBox*>(Control(id)); }
CReportList* CQtMainWindow::List(int id) const { return qobject_cast<CReportList*>(Control(id)); }
CIpAddressEdit* CQtMainWindow::IpAddress(int id) const { return qobject_cast<CIpAddressEdit*>(Control(id)); }

void CQtMainWindow::SetWindowText(int id, const std::string& text) {
  QWidget* widget = Control(id);
  if (auto* button = qobject_cast<QAbstractButton*>(widget))
    button->setText(ToQString(text));
  else if (auto* edit = qobject_cast<QLineEdit*>(widget))
    CTypingRules::SetProgramText(*edit, ToQString(text));
  else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(widget)) {
    multiLine->setPlainText(ToQString(text));
    // setPlainText puts the caret first; text appended later belongs after what is there.
    multiLine->moveCursor(QTextCursor::End);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget))
    combo->setEditText(ToQString(text));
  else if (auto* label = qobject_cast<QLabel*>(widget))
    label->setText(ToQString(text));
}

std::string CQtMainWindow::GetWindowText(int id) const {
  const QWidget* widget = Control(id);
  QString text;
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
    text = button->text();
  else if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
    text = edit->text();
  else if (const auto* multiLine = qobject_cast<const QPlainTextEdit*>(widget))
    text = multiLine->toPlainText();
  else if (const auto* combo = qobject_cast<const QComboBox*>(widget))
    text = combo->currentText();
  else if (const auto* label = qobject_cast<const QLabel*>(widget))
    text = label->text();
  else if (const auto* address = qobject_cast<const CIpAddressEdit*>(widget))
    text = address->Text();
  return text.toStdString();
}

int CQtMainWindow::GetWindowTextLength(int id) const {
  // The raw-data box is measured without copying its text out: it is asked before every message.
  if (const auto* multiLine = qobject_cast<const QPlainTextEdit*>(Control(id)))
    return multiLine->document()->characterCount() - 1;
  return static_cast<int>(QString::fromStdString(GetWindowText(id)).size());
}

void CQtMainWindow::EnableWindow(int id, bool enable) {
  if (QWidget* widget = Control(id)) widget->setEnabled(enable);
}

bool CQtMainWindow::IsWindowEnabled(int id) const {
  const QWidget* widget = Control(id);
  return widget && widget->isEnabled();
}

void CQtMainWindow::LimitText(int id, int maxChars) {
  // 0 lifts the limit, as it does for the platform's edits.
  if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) CTypingRules::Of(*edit).SetLimit(std::max(maxChars, 0));
}

void CQtMainWindow::AppendText(int id, const std::string& text) {
  QWidget* widget = Control(id);
  if (auto* multiLine = qobject_cast<QPlainTextEdit*>(widget)) {
    // At the caret, which stays at the end unless the user moves it; what is there is never rewritten.
    QTextCursor caret = multiLine->textCursor();
    if (caret.hasSelection()) {
      caret.clearSelection();
      multiLine->setTextCursor(caret);
    }
    multiLine->insertPlainText(ToQString(text));
    multiLine->ensureCursorVisible();
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    CTypingRules::SetProgramText(*edit, edit->text() + ToQString(text));
  }
}

int CQtMainWindow::ComboAddString(int id, const std::string& text) {
  QComboBox* combo = Combo(id);
  if (!combo) return -1;
  const QString item = ToQString(text);
  int index = 0;
  while (index < combo->count() && QString::compare(combo->itemText(index), item, Qt::CaseInsensitive) <= 0) ++index;
  const int selectedBefore = combo->currentIndex();
  const QString editText = combo->currentText();
  combo->insertItem(index, item);
  // Qt selects the first item put into an empty combo box; adding an item selects nothing.
  if (selectedBefore < 0 && combo->currentIndex() >= 0) {
    combo->setCurrentIndex(-1);
    combo->setEditText(editText);
  }
  if (id == IDC_PORT) FitPortField();
  return index;
}

void CQtMainWindow::ComboResetContent(int id) {
  QComboBox* combo = Combo(id);
  if (!combo) return;
  combo->clear();
  combo->setEditText(QString());
  if (id == IDC_PORT) FitPortField();
}

void CQtMainWindow::ComboSetItemTip(int id, int index, const std::string& tip) {
  QComboBox* combo = Combo(id);
  if (!combo || index < 0 || index >= combo->count()) return;
  combo->setItemData(index, tip.empty() ? QVariant() : QVariant(ToQString(tip)), Qt::ToolTipRole);
}

int CQtMainWindow::ComboSetCurSel(int id, int index) {
  QComboBox* combo = Combo(id);
  if (!combo) return -1;
  if (index < 0 || index >= combo->count()) {
    combo->setCurrentIndex(-1);
    return -1;
  }
  combo->setCurrentIndex(index);
  return index;
}

int CQtMainWindow::ComboGetCurSel(int id) const {
  const QComboBox* combo = Combo(id);
  return combo ? combo->currentIndex() : -1;
}

int CQtMainWindow::ComboGetCount(int id) const {
  const QComboBox* combo = Combo(id);
  return combo ? combo->count() : -1;
}

int CQtMainWindow::ListGetClientWidth(int id) const {
  const CReportList* list = List(id);
  return list ? list->ClientWidth() : 0;
}

void CQtMainWindow::ListAddExtendedStyle(int id, unsigned styles) {
  if (CReportList* list = List(id)) list->AddExtendedStyle(styles);
}

void CQtMainWindow::ListInsertColumn(int id, int column, const std::string& heading, ColumnAlign align, int width) {
  if (CReportList* list = List(id)) list->InsertColumn(column, ToQString(heading), align, width);
}

void CQtMainWindow::ListSetImageList(int id, const CImageList& images) {
  if (CReportList* list = List(id)) list->SetImages(images);
}

int CQtMainWindow::ListGetItemCount(int id) const {
  const CReportList* list = List(id);
  return list ? list->rowCount() : 0;
}

int CQtMainWindow::ListInsertItem(int id, int row, const std::string& text, int image) {
  CReportList* list = List(id);
  return list ? list->InsertItem(row, ToQString(text), image) : -1;
}

void CQtMainWindow::ListSetItemText(int id, int row, int column, const std::string& text) {
  if (CReportList* list = List(id)) list->SetItemText(row, column, ToQString(text));
}

std::string CQtMainWindow::ListGetItemText(int id, int row, int column) const {
  const CReportList* list = List(id);
  return list ? list->ItemText(row, column).toStdString() : std::string();
}

void CQtMainWindow::ListDeleteAllItems(int id) {
  if (CReportList* list = List(id)) list->DeleteAllItems();
}

void CQtMainWindow::IpClearAddress(int id) {
  if (CIpAddressEdit* address = IpAddress(id)) address->ClearAddress();
}

bool CQtMainWindow::IpIsBlank(int id) const {
  const CIpAddressEdit* address = IpAddress(id);
  return !address || address->IsBlank();
}

std::uint32_t CQtMainWindow::IpGetAddress(int id) const {
  const CIpAddressEdit* address = IpAddress(id);
  return address ? address->GetAddress() : 0;
}

void CQtMainWindow::IpSetAddress(int id, std::uint32_t address) {
  if (CIpAddressEdit* control = IpAddress(id)) control->SetAddress(address);
}

}  // namespace tolvane
