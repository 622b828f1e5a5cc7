#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "FakePort.h"
#include "HeadlessWindow.h"
#include "ui/MirlSettingsDlg.h"

// Configuration replies through the real worker threads; this test's thread plays the window's.
namespace tolvane::testing {
namespace {

using namespace std::chrono_literals;

class ThreadedSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    portList.ports = {"COM5 (ttySIM0)"};
    dlg = std::make_unique<CMirlSettingsDlg>(window, port, portList);
    dlg->SetSleeper([](std::chrono::milliseconds) { std::this_thread::sleep_for(1ms); });
    window.SetTimerHandler([this](int id) { dlg->OnTimer(id); });
    dlg->OnInitDialog();
  }

  void TearDown() override {
    if (dlg) dlg->OnDestroy();
    dlg.reset();
  }

  bool Pump(const std::function<bool()>& done) { return window.PumpUntil(done, 20s); }

  void ConnectReady() {
    port.ClearWrites();
    dlg->OnConnect();
    ASSERT_TRUE(Pump([&] { return port.WrittenText() == "COM:open~"; }));
    port.Feed("COM:open~");
    ASSERT_TRUE(Pump([&] { return dlg->IsDeviceReady(); }));
  }

  bool Shown(const std::string& text) const {
    const auto boxes = window.MessageBoxes();
    return std::find(boxes.begin(), boxes.end(), text) != boxes.end();
  }

  CHeadlessWindow window;
  CFakePort port;
  CFakePortList portList;
  std::unique_ptr<CMirlSettingsDlg> dlg;
};

TEST_F(ThreadedSettings, updateIpRoundTripStopsItsTimerFromTheReply) {
  ConnectReady();
  window.IpSetAddress(IDC_SERVER_IP, 0x0A000001);
  dlg->OnUpdateIp();
  ASSERT_TRUE(Pump([&] { return port.Writes().back() == "IP:10.0.0.1~"; }));
  port.Feed("IP:o");
  port.Feed("k~");
  ASSERT_TRUE(Pump([&] { return Shown("Update IP OK"); }));
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_IP));
  EXPECT_TRUE(window.IsWindowEnabled(IDC_UPDATE_IP));
  EXPECT_TRUE(window.IsWindowEnabled(IDC_UPDATE_DOMAIN));
}

TEST_F(ThreadedSettings, factoryResetClosesFromItsHopAndTheRestOfThePieceIsStillHandled) {
  ConnectReady();
  port.Feed("FACTORY_RESET:reboot~LANGUAGE:zh_CN~IP:ok~NETWORK_TYPE:2G~");
  ASSERT_TRUE(Pump([&] { return window.ComboGetCurSel(IDC_NETWORK_TYPE) == 0; }));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.Writes().back(), "COM:close~");
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect");
  EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), 1);
  EXPECT_TRUE(Shown("Update IP OK"));
  // Handled after the close: they must not bring the closed link's buttons back.
  for (const int id : {IDC_UPDATE_IP, IDC_SET_LANGUAGE, IDC_SET_NETWORK, IDC_FACTORY_RESET})
    EXPECT_FALSE(window.IsWindowEnabled(id)) << id;

  // The receiver let go of the closed link: a new one starts and answers.
  ConnectReady();
  EXPECT_TRUE(window.IsWindowEnabled(IDC_FACTORY_RESET));
}

TEST_F(ThreadedSettings, factoryResetWhileAReplyBoxOfTheSamePieceIsOpenDoesNotHang) {
  ConnectReady();
  window.SetMessageBoxHook([&](const std::string&) {
    for (int i = 0; i < 20; ++i) {
      window.RunPosted();
      std::this_thread::sleep_for(1ms);
    }
  });
  port.Feed("APN:ok~FACTORY_RESET:~APN_RESET:fail~");
  ASSERT_TRUE(Pump([&] { return Shown("Clear APN fail"); }));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(window.MessageBoxes(), (std::vector<std::string>{"Update APN OK", "Clear APN fail"}));
  dlg->OnDestroy();
  dlg.reset();
}

}  // namespace
}  // namespace tolvane::testing
