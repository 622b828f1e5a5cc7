// What the user is told about the link, and the port list following the hardware.
#include "LinkTestFixture.h"
#include "res/Strings.h"

namespace tolvane::testing {
namespace {

using StatusLine = LinkTest;
using PortListRefresh = LinkTest;

TEST_F(StatusLine, followsTheLinkFromOpenToReadyToClosed) {
  StartUp({"COM200 (ttySIM0)"});
  EXPECT_EQ(window.statusText, "Not connected");
  dlg->OnConnect();
  EXPECT_EQ(window.statusText, "COM200 (ttySIM0) open, waiting for the device to answer\xe2\x80\xa6");
  window.AdvanceClock(1000);
  dlg->HandleDeviceMessage("COM:open");
  EXPECT_EQ(window.statusText, "Device ready on COM200");
  // The answer came in time: no late warning.
  window.AdvanceClock(10'000);
  EXPECT_EQ(window.statusText, "Device ready on COM200");
  dlg->OnConnect();
  EXPECT_EQ(window.statusText, "Not connected");
  EXPECT_TRUE(window.MessageBoxes().empty());
}

TEST_F(StatusLine, saysSoWhenTheDeviceStaysSilentAndStillTakesALateAnswer) {
  StartUp({"COM200 (ttySIM0)"});
  dlg->OnConnect();
  window.AdvanceClock(CMirlSettingsDlg::kLinkSilentMs - 1);
  EXPECT_NE(window.statusText.find("waiting"), std::string::npos);
  window.AdvanceClock(1);
  EXPECT_EQ(window.statusText,
            "No answer from the device on COM200: check the cable and that the intercom app is running");
  EXPECT_TRUE(window.MessageBoxes().empty());  // the strip never opens a box
  dlg->HandleDeviceMessage("COM:open");
  EXPECT_EQ(window.statusText, "Device ready on COM200");
}

TEST_F(StatusLine, aClosedLinkIsNotWarnedAboutLater) {
  StartUp({"COM200 (ttySIM0)"});
  dlg->OnConnect();
  dlg->OnConnect();
  window.AdvanceClock(10'000);
  EXPECT_EQ(window.statusText, "Not connected");
}

TEST_F(StatusLine, namesAnUnpluggedDeviceAndAFailedOpen) {
  StartUp({"COM33 (ttyUSB0)"});
  ConnectReady();
  port.Vanish();
  EXPECT_EQ(window.statusText, "COM33 was unplugged");
  port.refuseOpen = true;
  dlg->OnConnect();
  EXPECT_EQ(window.statusText, "COM33 could not be opened");
}

TEST_F(StatusLine, speaksTheChosenLanguage) {
  SetProcessTextLanguage(TextLanguage::Chinese);
  StartUp({"COM200 (ttySIM0)"});
  ConnectReady();
  EXPECT_EQ(window.statusText, "COM200 上的设备已就绪");
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "关闭");
  SetProcessTextLanguage(TextLanguage::English);
}

TEST_F(PortListRefresh, opensOnTheLikelyDeviceRatherThanTheFirstPort) {
  portList.preferred = "COM33 (ttyUSB0)";
  StartUp({"COM1 (ttyS0)", "COM2 (ttyS1)", "COM33 (ttyUSB0)"});
  EXPECT_EQ(window.GetWindowText(IDC_PORT), "COM33 (ttyUSB0)");
  EXPECT_EQ(dlg->GetComPort(), 33);
}

TEST_F(PortListRefresh, keepsTheChosenPortAndAddsANewOne) {
  StartUp({"COM1 (ttyS0)", "COM33 (ttyUSB0)"});
  window.ComboSetCurSel(IDC_PORT, 1);
  dlg->OnSelchangePort();
  portList.ports = {"COM1 (ttyS0)", "COM200 (ttySIM0)", "COM33 (ttyUSB0)"};
  dlg->OnDropdownPort();
  EXPECT_EQ(window.At(IDC_PORT).items, portList.ports);
  EXPECT_EQ(window.GetWindowText(IDC_PORT), "COM33 (ttyUSB0)");
  EXPECT_EQ(dlg->GetComPort(), 33);
}

TEST_F(PortListRefresh, aChosenPortThatWentAwayGivesWayToTheLikelyDevice) {
  StartUp({"COM1 (ttyS0)", "COM33 (ttyUSB0)"});
  window.ComboSetCurSel(IDC_PORT, 1);
  dlg->OnSelchangePort();
  portList.ports = {"COM1 (ttyS0)", "COM200 (ttySIM0)"};
  portList.preferred = "COM200 (ttySIM0)";
  dlg->OnDropdownPort();
  EXPECT_EQ(window.GetWindowText(IDC_PORT), "COM200 (ttySIM0)");
  EXPECT_EQ(dlg->GetComPort(), 200);
}

TEST_F(PortListRefresh, leavesTheListAloneWhileTheLinkIsOpen) {
  StartUp({"COM33 (ttyUSB0)"});
  dlg->OnConnect();
  portList.ports = {"COM1 (ttyS0)"};
  dlg->OnDropdownPort();
  EXPECT_EQ(window.At(IDC_PORT).items, std::vector<std::string>{"COM33 (ttyUSB0)"});
  EXPECT_EQ(dlg->GetComPort(), 33);
}

TEST_F(PortListRefresh, aDevicePluggedInAfterAStartWithoutPortsFinishesStartUp) {
  StartUp({});
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));  // the template's state: start-up stopped at the port search
  EXPECT_TRUE(window.At(IDC_WIFI_LIST).columns.empty());
  portList.ports = {"COM200 (ttySIM0)"};
  dlg->OnDropdownPort();
  EXPECT_EQ(dlg->GetComPort(), 200);
  for (const int id : kDeviceControls) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(window.At(IDC_WIFI_LIST).columns.size(), 3u);
  EXPECT_EQ(window.At(IDC_NETWORK_TYPE).items.size(), 3u);
  // Opening the list again does not add the start-up's items twice.
  dlg->OnDropdownPort();
  EXPECT_EQ(window.At(IDC_NETWORK_TYPE).items.size(), 3u);
  EXPECT_EQ(window.At(IDC_WIFI_LIST).columns.size(), 3u);
  dlg->OnConnect();
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.openedPort, 200);
}

TEST_F(PortListRefresh, everyPortGoneLeavesNoneChosen) {
  StartUp({"COM33 (ttyUSB0)"});
  portList.ports.clear();
  dlg->OnDropdownPort();
  EXPECT_TRUE(window.At(IDC_PORT).items.empty());
  EXPECT_EQ(dlg->GetComPort(), 0);
}

}  // namespace
}  // namespace tolvane::testing
