#include "qt/QtMainWindow.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QTimer>

#include "qt/DialogBuilder.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

CQtMainWindow::CQtMainWindow(TextLanguage language, QWidget* parent) : QDialog(parent), m_language(language) {
  // A window of its own (own task-bar entry), fixed size, no minimise or maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setSizeGripEnabled(false);
  for (const CBuiltControl& control : BuildDialog(*this, MainDialogTemplate(), language))
    if (control.widget && control.row->id != IDC_STATIC) m_controls[control.row->id] = control.widget;
  // The window has no default button; Enter is handled in keyPressEvent.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
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
    // No default button: Enter on a button clicks it, anywhere else it closes the window.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
      if (button->isEnabled()) button->click();
      return;
    }
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CQtMainWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (m_menuItems.empty()) {
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
  menu.exec(event->globalPos());
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
