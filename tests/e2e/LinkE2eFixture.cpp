#include "LinkE2eFixture.h"

#include <QCoreApplication>
#include <algorithm>
#include <thread>

namespace tolvane::e2e {

namespace {

constexpr char kRegistryVariable[] = "TOLVANE_PORT_REGISTRY";

// Enabled by "COM:open" whatever the selections; Wi-Fi Connect, Pair and Search also need one.
constexpr int kCommandButtons[] = {IDC_BT_OPEN,      IDC_GPS_OPEN,         IDC_WIFI_OPEN,    IDC_WRITE_IMEI,
                                   IDC_UPDATE_IP,    IDC_UPDATE_DOMAIN,    IDC_SET_ACCOUNT,  IDC_SET_APN,
                                   IDC_CLEAR_APN,    IDC_UPDATE_DEALER_PW, IDC_SET_LANGUAGE, IDC_SET_NETWORK,
                                   IDC_FACTORY_RESET};

}  // namespace

CScopedRegistry::CScopedRegistry()
    : m_bHadPrevious(qEnvironmentVariableIsSet(kRegistryVariable)), m_previous(qgetenv(kRegistryVariable)) {
  qputenv(kRegistryVariable, m_directory.path().toLocal8Bit());
}

CScopedRegistry::~CScopedRegistry() {
  if (m_bHadPrevious)
    qputenv(kRegistryVariable, m_previous);
  else
    qunsetenv(kRegistryVariable);
}

void LinkE2eTest::TearDown() {
  if (m_dlg) {
    m_dlg->OnDestroy();
    m_dlg.reset();
  }
  m_port.reset();
  m_device.reset();
}

CDevsimProcess& LinkE2eTest::StartDevice(const QStringList& arguments) {
  m_device = std::make_unique<CDevsimProcess>(arguments);
  EXPECT_TRUE(m_device->Start()) << "tolvane-devsim did not come up: " << m_device->Output().toStdString();
  return *m_device;
}

void LinkE2eTest::OpenWindowOn(int comNumber) {
  m_port = std::make_unique<CQtSerialPort>(m_ports);
  m_dlg = std::make_unique<CMirlSettingsDlg>(m_window, *m_port, m_ports);
  m_window.SetTimerHandler([this](int id) { m_dlg->OnTimer(id); });
  m_dlg->OnInitDialog();

  const auto& items = m_window.At(IDC_PORT).items;
  const auto wanted = std::find_if(items.begin(), items.end(), [comNumber](const std::string& caption) {
    return caption.starts_with("COM" + std::to_string(comNumber) + " (");
  });
  ASSERT_NE(wanted, items.end()) << "COM" << comNumber << " is not in the port list";
  m_window.ComboSetCurSel(IDC_PORT, static_cast<int>(wanted - items.begin()));
  m_dlg->OnSelchangePort();
  ASSERT_EQ(m_dlg->GetComPort(), comNumber);
}

bool LinkE2eTest::PumpUntil(const std::function<bool()>& done, Milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (m_window.RunPosted() == 0) std::this_thread::sleep_for(Milliseconds(1));
  }
  return true;
}

bool LinkE2eTest::IsLinkClosed() const {
  return !m_port->IsOpen() && !m_dlg->IsRunning() && !m_dlg->IsDeviceReady() && ConnectCaption() == "Connect";
}

bool LinkE2eTest::AreCommandButtonsEnabled() const {
  return std::all_of(std::begin(kCommandButtons), std::end(kCommandButtons),
                     [this](int id) { return m_window.IsWindowEnabled(id); });
}

bool LinkE2eTest::AreCommandButtonsDisabled() const {
  return std::none_of(std::begin(kCommandButtons), std::end(kCommandButtons),
                      [this](int id) { return m_window.IsWindowEnabled(id); });
}

}  // namespace tolvane::e2e
