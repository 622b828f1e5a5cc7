#include "WindowSession.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

namespace tolvane::e2e {

namespace {
constexpr char kRegistryVariable[] = "TOLVANE_PORT_REGISTRY";
}

CWindowSession::CWindowSession()
    : m_previousRegistry(qgetenv(kRegistryVariable)), m_bHadRegistry(qEnvironmentVariableIsSet(kRegistryVariable)) {
  qputenv(kRegistryVariable, m_registry.path().toLocal8Bit());
}

CWindowSession::~CWindowSession() {
  // The window's close shuts the link down while the device still listens.
  if (m_window) m_window->close();
  m_dialog.reset();
  m_window.reset();
  m_port.reset();
  m_device.reset();
  if (m_bHadRegistry)
    qputenv(kRegistryVariable, m_previousRegistry);
  else
    qunsetenv(kRegistryVariable);
}

bool CWindowSession::StartDevice(const QStringList& devsimArguments) {
  m_device = std::make_unique<CDevsimProcess>(devsimArguments);
  return m_device->Start();
}

bool CWindowSession::StartWindow() {
  m_ports = std::make_unique<CLinuxPortList>();
  m_port = std::make_unique<CQtSerialPort>(*m_ports);
  m_window = std::make_unique<CQtMainWindow>();
  m_dialog = std::make_unique<CMirlSettingsDlg>(*m_window, *m_port, *m_ports);
  m_window->AttachDialog(m_dialog.get());
  m_dialog->OnInitDialog();
  m_window->show();
  return QTest::qWaitForWindowExposed(m_window.get());
}

bool CWindowSession::ChooseDevicePort() {
  auto* combo = qobject_cast<QComboBox*>(Control(IDC_PORT));
  if (!combo) return false;
  const int index = combo->findText(m_device->Caption());
  if (index < 0) return false;
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(combo, Qt::Key_Down);
  return combo->currentText() == m_device->Caption() && m_dialog->GetComPort() == m_device->ComNumber();
}

bool CWindowSession::ConnectAndWaitReady() {
  if (!ChooseDevicePort()) return false;
  Click(IDC_CONNECT);
  return QTest::qWaitFor([this] { return m_dialog->IsDeviceReady(); }, 20'000);
}

QPushButton* CWindowSession::Button(int controlId) const { return qobject_cast<QPushButton*>(Control(controlId)); }

void CWindowSession::Click(int controlId) {
  if (QPushButton* button = Button(controlId)) QTest::mouseClick(button, Qt::LeftButton);
}

bool CWindowSession::WaitForDevice(const QString& text, int milliseconds) {
  return QTest::qWaitFor([this, &text] { return m_device->HasPrinted(text); }, milliseconds);
}

}  // namespace tolvane::e2e
