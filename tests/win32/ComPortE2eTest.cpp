// The Windows COM port against tolvane-devsim, through Wine's Ports registry value, with the
// headless window. This test's thread plays the window's thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "HeadlessWindow.h"
#include "WineDevsim.h"
#include "link/PortTexts.h"
#include "ui/MirlSettingsDlg.h"
#include "win32/Win32PortList.h"
#include "win32/Win32SerialPort.h"

namespace tolvane::win32::testing {
namespace {

using namespace std::chrono_literals;
using tolvane::testing::CHeadlessWindow;

constexpr char kOccupied[] = " Error, the serial port is occupied or does not exist!";
constexpr int kCommandButtons[] = {IDC_BT_OPEN,      IDC_GPS_OPEN,         IDC_WIFI_OPEN,    IDC_WRITE_IMEI,
                                   IDC_UPDATE_IP,    IDC_UPDATE_DOMAIN,    IDC_SET_ACCOUNT,  IDC_SET_APN,
                                   IDC_CLEAR_APN,    IDC_UPDATE_DEALER_PW, IDC_SET_LANGUAGE, IDC_SET_NETWORK,
                                   IDC_FACTORY_RESET};

class WineComPort : public ::testing::Test {
 protected:
  void SetUp() override {
    m_environment = CWineTestEnvironment::FromEnvironment();
    if (!m_environment.IsComplete()) GTEST_SKIP() << "no simulated device configured for Wine";
    m_port = std::make_unique<CWin32SerialPort>();
  }

  void TearDown() override {
    if (m_dlg) m_dlg->OnDestroy();
    m_dlg.reset();
    m_port.reset();
    m_device.reset();
  }

  CWineDevsim& StartDevice(std::vector<std::string> arguments = {}) {
    m_device = std::make_unique<CWineDevsim>(m_environment, std::move(arguments));
    EXPECT_TRUE(m_device->Start()) << "tolvane-devsim did not come up: " << m_device->Output();
    return *m_device;
  }

  // Starts the window's logic and picks the device's port in the list.
  void OpenWindow() {
    m_dlg = std::make_unique<CMirlSettingsDlg>(m_window, *m_port, m_ports);
    m_window.SetTimerHandler([this](int id) { m_dlg->OnTimer(id); });
    m_dlg->OnInitDialog();
    const std::string wanted = "COM" + std::to_string(m_environment.comNumber);
    const auto& items = m_window.At(IDC_PORT).items;
    const auto found = std::find(items.begin(), items.end(), wanted);
    ASSERT_NE(found, items.end()) << wanted << " is not in the port list";
    m_window.ComboSetCurSel(IDC_PORT, static_cast<int>(found - items.begin()));
    m_dlg->OnSelchangePort();
  }

  // Runs the thread's messages (the port's events) and the window's posted tasks.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
      if (m_window.RunPosted() == 0) std::this_thread::sleep_for(1ms);
    }
    return true;
  }

  std::string ComName() const { return "COM" + std::to_string(m_environment.comNumber); }
  bool IsLinkClosed() const {
    return !m_port->IsOpen() && !m_dlg->IsRunning() && !m_dlg->IsDeviceReady() &&
           m_window.GetWindowText(IDC_CONNECT) == "Connect";
  }
  bool AreCommandButtonsEnabled() const {
    return std::all_of(std::begin(kCommandButtons), std::end(kCommandButtons),
                       [this](int id) { return m_window.IsWindowEnabled(id); });
  }
  bool AreCommandButtonsDisabled() const {
    return std::none_of(std::begin(kCommandButtons), std::end(kCommandButtons),
                        [this](int id) { return m_window.IsWindowEnabled(id); });
  }
  bool DevicePrinted(const std::string& text) {
    return PumpUntil([&] { return m_device->HasPrinted(text); });
  }

  CWineTestEnvironment m_environment;
  CHeadlessWindow m_window;
  CWin32PortList m_ports;
  std::unique_ptr<CWin32SerialPort> m_port;
  std::unique_ptr<CMirlSettingsDlg> m_dlg;
  std::unique_ptr<CWineDevsim> m_device;
};

TEST_F(WineComPort, systemListsTheSimulatedDeviceByItsComName) {
  const std::vector<std::string> ports = m_ports.ListPorts();
  EXPECT_NE(std::find(ports.begin(), ports.end(), "COM" + std::to_string(m_environment.comNumber)), ports.end());
}

TEST_F(WineComPort, connectMakesTheDeviceReadyAndCommandsReachItInOrder) {
  CWineDevsim& device = StartDevice();
  OpenWindow();
  ASSERT_TRUE(AreCommandButtonsDisabled());

  m_dlg->OnConnect();
  ASSERT_EQ(m_window.GetWindowText(IDC_CONNECT), "Close")
      << (m_window.MessageBoxes().empty() ? "" : m_window.MessageBoxes().back());
  ASSERT_TRUE(PumpUntil([this] { return m_dlg->IsDeviceReady(); }));
  EXPECT_TRUE(AreCommandButtonsEnabled());
  EXPECT_TRUE(device.HasPrinted("PC says COM:open"));
  EXPECT_EQ(m_window.statusText, "Device ready on " + ComName());

  m_dlg->QueueCommand("GPS:open");
  m_dlg->QueueCommand("BT:open");
  ASSERT_TRUE(DevicePrinted("PC says BT:open"));
  const std::string output = device.Output();
  EXPECT_LT(output.find("PC says GPS:open"), output.find("PC says BT:open"));
  EXPECT_TRUE(m_window.MessageBoxes().empty());
}

TEST_F(WineComPort, theDevicesReportsAndRepliesReachTheWindow) {
  CWineDevsim& device = StartDevice();
  OpenWindow();
  m_dlg->OnConnect();
  ASSERT_TRUE(PumpUntil([this] { return m_dlg->IsDeviceReady(); }));
  // On the link's opening the device reports its settings, its IMEI among them.
  EXPECT_TRUE(PumpUntil([this] { return m_window.GetWindowText(IDC_IMEI) == "356938035643809"; }));

  m_window.SetWindowText(IDC_DEALER_PASSWORD, "4711");
  m_dlg->OnUpdateDealerPw();
  EXPECT_FALSE(m_window.IsWindowEnabled(IDC_UPDATE_DEALER_PW));
  ASSERT_TRUE(PumpUntil([this] { return !m_window.MessageBoxes().empty(); }));
  EXPECT_EQ(m_window.MessageBoxes(), std::vector<std::string>{"Update dealer password OK"});
  EXPECT_TRUE(device.HasPrinted("PC says CUSTOMER_PW:4711"));
  EXPECT_FALSE(m_window.IsTimerRunning(TIMER_UPDATE_DEALER_PW));
  EXPECT_TRUE(m_window.IsWindowEnabled(IDC_UPDATE_DEALER_PW));
}

TEST_F(WineComPort, closeTellsTheDeviceAndAnotherConnectStartsAfresh) {
  StartDevice();
  OpenWindow();
  m_dlg->OnConnect();
  ASSERT_TRUE(PumpUntil([this] { return m_dlg->IsDeviceReady(); }));

  m_dlg->OnConnect();
  EXPECT_TRUE(IsLinkClosed());
  EXPECT_TRUE(AreCommandButtonsDisabled());
  EXPECT_TRUE(DevicePrinted("PC says COM:close"));

  m_dlg->OnConnect();
  EXPECT_TRUE(PumpUntil([this] { return m_dlg->IsDeviceReady(); }));
  EXPECT_TRUE(m_window.MessageBoxes().empty());
}

TEST_F(WineComPort, unpluggedDeviceEndsTheLinkAndTheGonePortIsReported) {
  StartDevice({"--unplug-after", "1"});
  OpenWindow();
  m_dlg->OnConnect();

  ASSERT_TRUE(PumpUntil([this] { return IsLinkClosed(); }));
  EXPECT_TRUE(AreCommandButtonsDisabled());
  EXPECT_TRUE(m_window.MessageBoxes().empty());
  EXPECT_EQ(m_window.statusText, ComName() + " was unplugged");

  // The line is gone for good: a new attempt says so instead of holding a dead port.
  ASSERT_TRUE(PumpUntil([this] { return m_device->HasPrinted("tolvane-devsim: unplugged"); }));
  m_dlg->OnConnect();
  ASSERT_FALSE(m_window.MessageBoxes().empty());
  EXPECT_EQ(m_window.MessageBoxes().back(), "COM" + std::to_string(m_environment.comNumber) + kOccupied);
  EXPECT_TRUE(IsLinkClosed());
}

TEST_F(WineComPort, aPortThatIsNotThereIsReportedAsGone) {
  // Far above any port Wine lists.
  constexpr int kMissing = 231;
  EXPECT_FALSE(m_port->Open(kMissing, m_port->GetInBufferSize(), m_port->GetOutBufferSize()));
  EXPECT_EQ(m_port->LastOpenFailure().cause, COpenFailure::Cause::Gone);
  EXPECT_EQ(DescribeOpenFailure(m_port->LastOpenFailure(), "COM231"), "COM231 is no longer there");
}

// Windows' serial drivers allow one open at a time. Wine does not enforce that for a port that
// stands for a Linux device, so the test has something to show only on Windows itself.
bool RunsUnderWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

TEST_F(WineComPort, portHeldByAnotherOpenIsRefusedWithTheOccupiedMessage) {
  if (RunsUnderWine()) GTEST_SKIP() << "Wine does not make serial opens exclusive";
  StartDevice();
  OpenWindow();
  CWin32SerialPort holder;
  ASSERT_TRUE(holder.Open(m_environment.comNumber, holder.GetInBufferSize(), holder.GetOutBufferSize()));

  m_dlg->OnConnect();
  ASSERT_EQ(m_window.MessageBoxes().size(), 1u);
  EXPECT_EQ(m_window.MessageBoxes().front(), "COM" + std::to_string(m_environment.comNumber) + kOccupied);
  EXPECT_FALSE(m_port->IsOpen());
  EXPECT_FALSE(m_dlg->IsRunning());

  holder.Close();
  m_dlg->OnConnect();
  EXPECT_TRUE(PumpUntil([this] { return m_dlg->IsDeviceReady(); }));
}

class WineFaultyLine : public WineComPort, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(WineFaultyLine, connectBecomesReadyDespiteTheLine) {
  std::vector<std::string> arguments = GetParam();
  arguments.insert(arguments.end(), {"--seed", "1"});
  StartDevice(arguments);
  OpenWindow();
  m_dlg->OnConnect();
  ASSERT_TRUE(PumpUntil([this] { return m_dlg->IsDeviceReady(); }));
  EXPECT_TRUE(AreCommandButtonsEnabled());
}

INSTANTIATE_TEST_SUITE_P(Faults, WineFaultyLine,
                         ::testing::Values(std::vector<std::string>{"--split"}, std::vector<std::string>{"--garbage"},
                                           std::vector<std::string>{"--split", "--garbage", "--delay", "100"}),
                         [](const ::testing::TestParamInfo<std::vector<std::string>>& testInfo) {
                           std::string name;
                           for (const std::string& argument : testInfo.param)
                             for (const char c : argument)
                               if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           return name;
                         });

}  // namespace
}  // namespace tolvane::win32::testing
