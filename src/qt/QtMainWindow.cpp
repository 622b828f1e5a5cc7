#include "qt/QtMainWindow.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTimer>

#include "qt/DialogBuilder.h"
#include "res/ControlIds.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

CQtMainWindow::CQtMainWindow(TextLanguage language, QWidget* parent) : QDialog(parent), m_language(language) {
  // A window of its own (own task-bar entry), fixed size, no minimise or maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setSizeGripEnabled(false);
  QWidget* previous = nullptr;
  for (const CBuiltControl& control : BuildDialog(*this, MainDialogTemplate(), language)) {
    if (control.widget && control.row->id != IDC_STATIC) m_controls[control.row->id] = control.widget;
    // The IMEI field's label comes right before it; the port line may push it towards its field.
    if (control.row->id == IDC_IMEI) m_pImeiLabel = qobject_cast<QLabel*>(previous);
    previous = control.widget;
  }
  if (m_pImeiLabel) m_imeiLabelPlace = m_pImeiLabel->geometry();
  // The window has no default button; Enter is handled in keyPressEvent.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  for (const int id : {IDC_PORT, IDC_CONNECT, IDC_LANGUAGE, IDC_SET_LANGUAGE, IDC_IMEI})
    if (QWidget* control = Control(id)) m_portRowPlaces[id] = control->geometry();
  AddStatusLine();
}

void CQtMainWindow::AddStatusLine() {
  m_pStatusLine = new QLabel(this);
  m_pStatusLine->setObjectName(QStringLiteral("m_statusLine"));
  m_pStatusLine->setTextFormat(Qt::PlainText);
  m_pStatusLine->setFocusPolicy(Qt::NoFocus);
  m_pStatusLine->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // Without an accessible name of its own, its text is its name, and each change is announced.
  m_pStatusLine->setAccessibleDescription(m_language == TextLanguage::Chinese ? QStringLiteral("连接状态")
                                                                              : QStringLiteral("Link status"));
  const int height = fontMetrics().height() + 6;
  const QSize templateArea = size();
  m_pStatusLine->setGeometry(2, templateArea.height() + 1, templateArea.width() - 4, height - 2);
  setFixedSize(templateArea.width(), templateArea.height() + height);
}

void CQtMainWindow::SetStatusText(const std::string& text) { m_pStatusLine->setText(QString::fromStdString(text)); }

void CQtMainWindow::FitPortField() {
  auto* combo = Combo(IDC_PORT);
  if (!combo || !m_portRowPlaces.count(IDC_PORT)) return;
  const QRect place = m_portRowPlaces[IDC_PORT];
  int widest = 0;
  for (int i = 0; i < combo->count(); ++i)
    widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = true;
  constexpr int kTextMargins = 8;  // the field's own margins around its text
  const int wanted =
      style()
          ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widest + kTextMargins, place.height()), combo)
          .width();
  // Only as far as the IMEI field's label, which moves up to its field but not beyond.
  int rowRight = 0;
  for (const int id : {IDC_CONNECT, IDC_LANGUAGE, IDC_SET_LANGUAGE})
    if (m_portRowPlaces.count(id) && !Control(id)->isHidden())
      rowRight = std::max(rowRight, m_portRowPlaces[id].right());
  const QRect imeiField = m_portRowPlaces[IDC_IMEI];
  const int labelWidth = m_pImeiLabel ? m_pImeiLabel->sizeHint().width() : 0;
  const int room = imeiField.left() - labelWidth - 4 - rowRight;
  const int grow = std::clamp(wanted - place.width(), 0, std::max(room, 0));
  combo->setGeometry(place.adjusted(0, 0, grow, 0));
  for (const int id : {IDC_CONNECT, IDC_LANGUAGE, IDC_SET_LANGUAGE})
    if (m_portRowPlaces.count(id)) Control(id)->setGeometry(m_portRowPlaces[id].translated(grow, 0));
  if (m_pImeiLabel) {
    const int labelLeft = std::max(m_imeiLabelPlace.left(), rowRight + grow + 4);
    m_pImeiLabel->move(labelLeft, m_imeiLabelPlace.top());
  }
}

CQtMainWindow::~CQtMainWindow() = default;

void CQtMainWindow::AttachDialog(CMirlSettingsDlg* dialog) {
  const bool firstAttach = m_pDialog == nullptr && dialog != nullptr;
  m_pDialog = dialog;
  if (firstAttach) ConnectHandlers();
}

QWidget* CQtMainWindow::Control(int id) const {
  const auto found = m_controls.find(id);
  return found == m_controls.end() ? nullptr : found->second;
}

void CQtMainWindow::done(int result) {
  CloseOpenBoxes();
  if (!m_bDestroyed) {
    m_bDestroyed = true;
    for (const auto& [id, timer] : m_timers) timer->stop();
    if (m_pDialog) m_pDialog->OnDestroy();
    // From here on the logic hears nothing more from this window.
    m_pDialog = nullptr;
  }
  QDialog::done(result);
}

void CQtMainWindow::CloseOpenBoxes() {
  // Message boxes and the About box run their own loops on this thread; each must end before the
  // window's loop can, innermost first.
  const QList<QDialog*> boxes = findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
  for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
    if ((*it)->isVisible()) (*it)->done(QDialog::Rejected);
}

void CQtMainWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  if (enter && plain) {
    // No default button: Enter on a button clicks it. Anywhere else it does nothing, as does Esc:
    // closing would end the link and lose everything typed.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) button->click();
    return;
  }
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) return;
  QDialog::keyPressEvent(event);
}

void CQtMainWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (m_menuItems.empty() && m_menuActions.empty()) {
    event->ignore();
    return;
  }
  QMenu menu(this);
  for (const auto& [commandId, text] : m_menuItems) {
    if (!menu.isEmpty()) menu.addSeparator();
    const int command = commandId;
    connect(menu.addAction(text), &QAction::triggered, this, [this, command] {
      if (m_pDialog) m_pDialog->OnSysCommand(command);
    });
  }
  for (const auto& [text, action] : m_menuActions) {
    if (!menu.isEmpty()) menu.addSeparator();
    connect(menu.addAction(text), &QAction::triggered, this, [this, run = action] {
      if (!m_bDestroyed) run();
    });
  }
  menu.exec(event->globalPos());
}

void CQtMainWindow::AddMenuAction(const QString& text, std::function<void()> action) {
  m_menuActions.emplace_back(text, std::move(action));
}

bool CQtMainWindow::AppendSystemMenuItem(int commandId, const std::string& text) {
  m_menuItems.emplace_back(commandId, QString::fromStdString(text));
  return true;
}

void CQtMainWindow::RunAboutBox() {
  if (m_aboutBoxRunner && !m_bDestroyed) m_aboutBoxRunner(*this);
}

void CQtMainWindow::MessageBox(const std::string& text) {
  // Once the window is closing nobody could answer a box, and the close must not wait for one.
  if (m_bDestroyed) return;
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationName), QString::fromStdString(text),
                  QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void CQtMainWindow::SetTimer(int id, int milliseconds) {
  QTimer*& timer = m_timers[id];
  if (!timer) {
    timer = new QTimer(this);
    // A reply timer must never run out early: coarse timers may fire 5% before their time.
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this, id] {
      if (m_pDialog) m_pDialog->OnTimer(id);
    });
  }
  timer->start(milliseconds);
}

void CQtMainWindow::KillTimer(int id) {
  const auto found = m_timers.find(id);
  if (found != m_timers.end()) found->second->stop();
}

bool CQtMainWindow::IsTimerRunning(int id) const {
  const auto found = m_timers.find(id);
  return found != m_timers.end() && found->second->isActive();
}

void CQtMainWindow::PostToWindowThread(std::function<void()> task) {
  // Queued on this object: Qt drops the call if the window is destroyed first.
  QMetaObject::invokeMethod(
      this, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

}  // namespace tolvane
