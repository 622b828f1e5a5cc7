// Telling ports apart, the device remembered from the last run, and why a port would not open.
#include "LinkTestFixture.h"
#include "link/PortNaming.h"
#include "link/PortTexts.h"
#include "res/Strings.h"

namespace tolvane::testing {
namespace {

const std::string kOnboard = "COM1 (ttyS0)";
const std::string kBridge = "COM33 (ttyUSB0)";
const std::string kModem = "COM65 (ttyACM0)";
const std::string kSimulated = "COM200 (ttySIM0)";

const CPortIdentity kBridgeIdentity{
    "/dev/ttyUSB0", "CP2102 USB to UART Bridge Controller", "Silicon Labs", "10c4:ea60", "0001", false};

using PortTips = LinkTest;
using RememberedDevice = LinkTest;
using OpenFailureStatus = LinkTest;

TEST(PortTip, listsWhatIsKnownOneFactALineWithThePathLast) {
  EXPECT_EQ(PortTip(kBridgeIdentity),
            "CP2102 USB to UART Bridge Controller\nManufacturer: Silicon Labs\nUSB ID (VID:PID): 10c4:ea60\n"
            "Serial number: 0001\n/dev/ttyUSB0");
  EXPECT_EQ(PortTip({"/dev/ttyS0", "", "", "", "", false}), "/dev/ttyS0");
  EXPECT_EQ(PortTip({"/dev/pts/4", "", "", "", "", true}), "Simulated device (tolvane-devsim)\n/dev/pts/4");
  EXPECT_EQ(PortTip({}), "");
}

TEST(RememberKey, usbSerialNumberWhereThereIsOneElseTheDeviceName) {
  EXPECT_EQ(RememberKey(kBridgeIdentity, "ttyUSB0"), "usb:10c4:ea60:0001");
  // The same adapter plugged in as ttyUSB1 is still the same device.
  EXPECT_EQ(RememberKey(kBridgeIdentity, "ttyUSB1"), RememberKey(kBridgeIdentity, "ttyUSB0"));
  EXPECT_EQ(RememberKey({}, "ttySIM0"), "device:ttySIM0");
  EXPECT_EQ(RememberKey({}, ""), "");
  EXPECT_EQ(DeviceOfCaption(kBridge), "ttyUSB0");
  EXPECT_EQ(DeviceOfCaption("COM33"), "");
}

TEST_F(PortTips, eachEntryKeepsItsCaptionAndCarriesItsOwnTip) {
  portList.identities[kBridge] = kBridgeIdentity;
  portList.identities[kSimulated] = {"/dev/pts/4", "", "", "", "", true};
  StartUp({kSimulated, kBridge, kOnboard});
  const auto& combo = window.At(IDC_PORT);
  ASSERT_EQ(combo.items, (std::vector<std::string>{kOnboard, kSimulated, kBridge}));
  EXPECT_EQ(combo.itemTips[0], "");
  EXPECT_EQ(combo.itemTips[1], "Simulated device (tolvane-devsim)\n/dev/pts/4");
  EXPECT_EQ(combo.itemTips[2], PortTip(kBridgeIdentity));
  // Read again when the list opens: the tips follow.
  portList.ports = {kBridge};
  dlg->OnDropdownPort();
  EXPECT_EQ(window.At(IDC_PORT).itemTips, std::vector<std::string>{PortTip(kBridgeIdentity)});
}

TEST_F(PortTips, speakTheChosenLanguage) {
  SetProcessTextLanguage(TextLanguage::Chinese);
  portList.identities[kSimulated] = {"/dev/pts/4", "", "", "", "", true};
  StartUp({kSimulated});
  EXPECT_EQ(window.At(IDC_PORT).itemTips[0], "模拟设备 (tolvane-devsim)\n/dev/pts/4");
  SetProcessTextLanguage(TextLanguage::English);
}

TEST_F(RememberedDevice, isPreselectedBeforeTheLikelyDevice) {
  portList.preferred = kBridge;
  portList.remembered = kModem;
  StartUp({kOnboard, kBridge, kModem});
  EXPECT_EQ(window.GetWindowText(IDC_PORT), kModem);
  EXPECT_EQ(dlg->GetComPort(), 65);
}

TEST_F(RememberedDevice, absentAtStartUpLeavesTheLikelyDeviceChosen) {
  portList.preferred = kBridge;
  portList.remembered = kModem;
  StartUp({kOnboard, kBridge});
  EXPECT_EQ(window.GetWindowText(IDC_PORT), kBridge);
}

TEST_F(RememberedDevice, withoutOneStartUpIsAsBeforeAndNothingWatches) {
  StartUp({kOnboard, kBridge});
  EXPECT_EQ(window.GetWindowText(IDC_PORT), kOnboard);
  EXPECT_FALSE(window.IsTimerRunning(TIMER_PORT_WATCH));
  const int lists = portList.listCount;
  window.AdvanceClock(10'000);
  EXPECT_EQ(portList.listCount, lists);
}

TEST_F(RememberedDevice, theDeviceThatBecameReadyIsRememberedAndWatchedFor) {
  StartUp({kOnboard, kBridge});
  window.ComboSetCurSel(IDC_PORT, 1);
  dlg->OnSelchangePort();
  dlg->OnConnect();
  EXPECT_EQ(portList.remembered, "");  // open is not enough: the device must answer
  dlg->HandleDeviceMessage("COM:open");
  EXPECT_EQ(portList.remembered, kBridge);
  // An open link leaves the window asleep; the watch starts with the close.
  EXPECT_FALSE(window.IsTimerRunning(TIMER_PORT_WATCH));
  dlg->OnConnect();
  EXPECT_TRUE(window.IsTimerRunning(TIMER_PORT_WATCH));
}

TEST_F(RememberedDevice, theWatchSleepsWhileALinkIsOpenAndWakesWhenItCloses) {
  portList.remembered = kBridge;
  StartUp({kOnboard, kBridge});
  ASSERT_TRUE(window.IsTimerRunning(TIMER_PORT_WATCH));
  dlg->OnConnect();
  EXPECT_FALSE(window.IsTimerRunning(TIMER_PORT_WATCH));
  const int lists = portList.listCount;
  window.AdvanceClock(10 * CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(portList.listCount, lists);
  dlg->OnLinkLost();
  EXPECT_TRUE(window.IsTimerRunning(TIMER_PORT_WATCH));
}

TEST_F(RememberedDevice, theWatchListsOnlyWhenThePortsMayHaveChanged) {
  portList.remembered = kBridge;
  StartUp({kOnboard});
  portList.changedSinceListed = false;
  const int lists = portList.listCount;
  window.AdvanceClock(5 * CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(portList.listCount, lists);
  portList.ports = {kOnboard, kBridge};
  portList.changedSinceListed = true;
  window.AdvanceClock(CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(window.GetWindowText(IDC_PORT), kBridge);
}

TEST_F(RememberedDevice, appearingWhileClosedIsSelected) {
  portList.remembered = kBridge;
  StartUp({kOnboard});
  EXPECT_TRUE(window.IsTimerRunning(TIMER_PORT_WATCH));
  window.AdvanceClock(CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(window.At(IDC_PORT).items, std::vector<std::string>{kOnboard});
  portList.ports = {kOnboard, kBridge};
  window.AdvanceClock(CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(window.At(IDC_PORT).items, portList.ports);
  EXPECT_EQ(window.GetWindowText(IDC_PORT), kBridge);
  EXPECT_EQ(dlg->GetComPort(), 33);
}

TEST_F(RememberedDevice, whileItStaysTheUsersOwnChoiceStands) {
  portList.remembered = kBridge;
  StartUp({kOnboard, kBridge});
  window.ComboSetCurSel(IDC_PORT, 0);
  dlg->OnSelchangePort();
  window.AdvanceClock(5 * CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(window.GetWindowText(IDC_PORT), kOnboard);
  EXPECT_EQ(dlg->GetComPort(), 1);
}

TEST_F(RememberedDevice, comingBackAfterBeingUnpluggedIsSelectedAgain) {
  portList.remembered = kBridge;
  StartUp({kOnboard, kBridge});
  window.ComboSetCurSel(IDC_PORT, 0);
  dlg->OnSelchangePort();
  portList.ports = {kOnboard};
  window.AdvanceClock(CMirlSettingsDlg::kPortWatchMs);
  portList.ports = {kOnboard, kBridge};
  window.AdvanceClock(CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(window.GetWindowText(IDC_PORT), kBridge);
}

TEST_F(RememberedDevice, theOpenLinksPortIsNeverChangedUnderIt) {
  portList.remembered = kBridge;
  StartUp({kOnboard});
  ConnectReady();  // on COM1, which is now the one remembered
  portList.remembered = kBridge;
  portList.ports = {kOnboard, kBridge};
  const int lists = portList.listCount;
  window.AdvanceClock(5 * CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(portList.listCount, lists);
  EXPECT_EQ(window.At(IDC_PORT).items, std::vector<std::string>{kOnboard});
  EXPECT_EQ(dlg->GetComPort(), 1);
}

TEST_F(RememberedDevice, aStartWithoutPortsFinishesWhenItArrives) {
  portList.remembered = kBridge;
  StartUp({});
  portList.ports = {kOnboard, kBridge};
  window.AdvanceClock(CMirlSettingsDlg::kPortWatchMs);
  EXPECT_EQ(window.GetWindowText(IDC_PORT), kBridge);
  EXPECT_EQ(window.At(IDC_WIFI_LIST).columns.size(), 3u);
  for (const int id : kDeviceControls) EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(OpenFailureStatus, namesEachCauseAndItsRemedyWhileTheBoxStaysAsItWas) {
  StartUp({kBridge});
  port.refuseOpen = true;
  const std::pair<COpenFailure, std::string> cases[] = {
      {{COpenFailure::Cause::NoPermission, "dialout", "", 0},
       "COM33: permission denied. Join the group dialout: sudo usermod -aG dialout $USER, then log in again"},
      {{COpenFailure::Cause::NoPermission, "", "", 0}, "COM33: permission denied for this user"},
      {{COpenFailure::Cause::Held, "", "ModemManager", 812}, "COM33 is held by ModemManager (pid 812)"},
      {{COpenFailure::Cause::Held, "", "", 0}, "COM33 is held by another program, which could not be found"},
      {{COpenFailure::Cause::Gone, "", "", 0}, "COM33 is no longer there"},
      {{}, "COM33 could not be opened"},
  };
  for (const auto& [failure, text] : cases) {
    port.openFailure = failure;
    dlg->OnConnect();
    EXPECT_EQ(window.statusText, text);
  }
  const std::string box = "COM33 Error, the serial port is occupied or does not exist!";
  EXPECT_EQ(window.MessageBoxes(), std::vector<std::string>(std::size(cases), box));
}

TEST_F(OpenFailureStatus, speaksTheChosenLanguage) {
  SetProcessTextLanguage(TextLanguage::Chinese);
  StartUp({kBridge});
  port.refuseOpen = true;
  port.openFailure = {COpenFailure::Cause::Held, "", "brltty", 77};
  dlg->OnConnect();
  EXPECT_EQ(window.statusText, "COM33 被 brltty（pid 77）占用");
  port.openFailure = {COpenFailure::Cause::NoPermission, "uucp", "", 0};
  dlg->OnConnect();
  EXPECT_EQ(window.statusText, "COM33：没有权限。请加入 uucp 组：sudo usermod -aG uucp $USER，然后重新登录");
  SetProcessTextLanguage(TextLanguage::English);
}

TEST(FormatString, replacesEveryPlaceholderInOnePass) {
  EXPECT_EQ(FormatString("%1 and %2, %2 again", {"a", "b"}), "a and b, b again");
  // A holder named "%2" is not expanded a second time.
  EXPECT_EQ(FormatString("%1 is held by %2 (pid %3)", {"COM3", "%2", "9"}), "COM3 is held by %2 (pid 9)");
  EXPECT_EQ(FormatString("%1 %4 100%", {"x"}), "x %4 100%");
}

}  // namespace
}  // namespace tolvane::testing
