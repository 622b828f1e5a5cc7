#include "SoakSession.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <thread>

#include "res/Strings.h"

namespace tolvane::linksoak {

CSoakSession::CSoakSession()
    : m_port(std::make_unique<CQtSerialPort>(m_ports)),
      m_window(std::make_unique<e2e::CCountingWindow>()),
      m_dialog(std::make_unique<CMirlSettingsDlg>(*m_window, *m_port, m_ports)) {
  m_window->AttachDialog(m_dialog.get());
  // A box runs its own loop on this thread; this timer fires inside it too.
  m_boxWatch.setInterval(std::chrono::milliseconds(5));
  QObject::connect(&m_boxWatch, &QTimer::timeout, [this] { CloseOpenBoxes(); });
  m_boxWatch.start();
}

CSoakSession::~CSoakSession() {
  m_window->close();
  m_dialog.reset();
  m_window.reset();
  m_port.reset();
}

bool CSoakSession::Start(int comNumber) {
  m_dialog->OnInitDialog();
  m_window->show();
  const std::string prefix = "COM" + std::to_string(comNumber) + " (";
  for (int index = 0; index < m_window->ComboGetCount(IDC_PORT); ++index) {
    m_window->ComboSetCurSel(IDC_PORT, index);
    if (m_window->GetWindowText(IDC_PORT).rfind(prefix, 0) == 0) {
      m_dialog->OnSelchangePort();
      return m_dialog->GetComPort() == comNumber;
    }
  }
  return false;
}

void CSoakSession::Click(int controlId) {
  if (auto* button = qobject_cast<QPushButton*>(m_window->Control(controlId))) button->click();
}

bool CSoakSession::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

bool CSoakSession::IsClosed() const {
  return !m_port->IsOpen() && !m_dialog->IsRunning() && !m_dialog->IsDeviceReady() &&
         Text(IDC_CONNECT) == LoadString(IDS_CONNECT);
}

std::string CSoakSession::StatusText() const { return m_window->StatusLine()->text().toStdString(); }

bool CSoakSession::HasShown(const std::string& text) const {
  return std::find(m_boxes.begin(), m_boxes.end(), text) != m_boxes.end();
}

void CSoakSession::CloseOpenBoxes() {
  for (QMessageBox* box : m_window->findChildren<QMessageBox*>()) {
    if (!box->isVisible()) continue;
    m_boxes.push_back(box->text().toStdString());
    box->done(QMessageBox::Ok);
  }
}

}  // namespace tolvane::linksoak
