// The last ready device, remembered in the settings file across runs, against real simulated devices.
#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <thread>

#include "LinkE2eFixture.h"
#include "qt/DeviceMemory.h"

namespace tolvane::e2e {
namespace {

using namespace std::chrono_literals;

// One run of the program: its own window, port list and memory, over the same settings file.
struct CRun {
  explicit CRun(const QString& settingsPath) : memory(settingsPath), ports({}, &memory), port(ports) {
    dlg = std::make_unique<CMirlSettingsDlg>(window, port, ports);
    window.SetTimerHandler([this](int id) { dlg->OnTimer(id); });
    dlg->OnInitDialog();
  }
  ~CRun() {
    dlg->OnDestroy();
    dlg.reset();
  }
  bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      if (window.RunPosted() == 0) std::this_thread::sleep_for(1ms);
    }
    return true;
  }
  void Choose(const QString& caption) {
    const auto& items = window.At(IDC_PORT).items;
    const auto at = std::find(items.begin(), items.end(), caption.toStdString());
    ASSERT_NE(at, items.end()) << caption.toStdString();
    window.ComboSetCurSel(IDC_PORT, static_cast<int>(at - items.begin()));
    dlg->OnSelchangePort();
  }
  std::string Chosen() const { return window.GetWindowText(IDC_PORT); }

  testing::CHeadlessWindow window;
  CDeviceMemory memory;
  CLinuxPortList ports;
  CQtSerialPort port;
  std::unique_ptr<CMirlSettingsDlg> dlg;
};

class RememberedDevice : public ::testing::Test {
 protected:
  QString SettingsPath() const { return m_config.path() + "/tolvane/tolvane.conf"; }

  CScopedRegistry m_registry;
  QTemporaryDir m_config;
};

TEST_F(RememberedDevice, isPreselectedOnTheSecondRun) {
  CDevsimProcess first, second;
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(second.Start());
  {
    CRun run(SettingsPath());
    EXPECT_EQ(run.Chosen(), first.Caption().toStdString());  // nothing remembered: the likely device
    EXPECT_FALSE(QFile::exists(SettingsPath()));             // reading makes no file
    run.Choose(second.Caption());
    run.dlg->OnConnect();
    ASSERT_TRUE(run.PumpUntil([&] { return run.dlg->IsDeviceReady(); }));
  }
  EXPECT_EQ(QSettings(SettingsPath(), QSettings::IniFormat).value("port/lastReadyDevice").toString(),
            QStringLiteral("device:ttySIM1"));
  CRun again(SettingsPath());
  EXPECT_EQ(again.Chosen(), second.Caption().toStdString());
  EXPECT_EQ(again.dlg->GetComPort(), second.ComNumber());
}

TEST_F(RememberedDevice, isSelectedWhenItComesBackWhileTheLinkIsClosed) {
  auto device = std::make_unique<CDevsimProcess>();
  ASSERT_TRUE(device->Start());
  CDevsimProcess bystander;
  ASSERT_TRUE(bystander.Start());
  CRun run(SettingsPath());
  const std::string remembered = device->Caption().toStdString();
  run.dlg->OnConnect();
  ASSERT_TRUE(run.PumpUntil([&] { return run.dlg->IsDeviceReady(); }));
  run.dlg->OnConnect();

  // While it stays, the user's own choice stands.
  run.Choose(bystander.Caption());
  run.window.AdvanceClock(3 * CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(run.Chosen(), bystander.Caption().toStdString());

  device.reset();  // unplugged
  run.window.AdvanceClock(CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(run.Chosen(), bystander.Caption().toStdString());
  CDevsimProcess back;  // plugged in again, under the same name
  ASSERT_TRUE(back.Start());
  ASSERT_EQ(back.Caption().toStdString(), remembered);
  run.window.AdvanceClock(CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(run.Chosen(), remembered);
  EXPECT_EQ(run.dlg->GetComPort(), back.ComNumber());
}

TEST(DeviceMemory, livesUnderTheUsersConfigDirectory) {
  QTemporaryDir config;
  const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  const QString path = CDeviceMemory::DefaultPath();
  qputenv("XDG_CONFIG_HOME", previous);
  EXPECT_EQ(path, config.path() + "/tolvane/tolvane.conf");

  CDeviceMemory memory(path);
  EXPECT_EQ(memory.Recall(), "");
  memory.Remember("usb:10c4:ea60:0001");
  EXPECT_EQ(CDeviceMemory(path).Recall(), "usb:10c4:ea60:0001");
}

TEST(LinuxPortList, saysASimulatedDeviceIsOne) {
  CScopedRegistry registry;
  CDevsimProcess device;
  ASSERT_TRUE(device.Start());
  CLinuxPortList ports;
  ports.ListPorts();
  const CPortIdentity identity = ports.IdentifyPort(device.Caption().toStdString());
  EXPECT_TRUE(identity.simulated);
  EXPECT_EQ(identity.path, device.TerminalPath().toStdString());
  // Without a memory nothing is remembered, whatever becomes ready.
  ports.RememberPort(device.Caption().toStdString());
  EXPECT_FALSE(ports.HasRememberedPort());
  EXPECT_EQ(ports.RememberedPort(), "");
}

}  // namespace
}  // namespace tolvane::e2e
