#include "LinkTestFixture.h"
#include "res/Strings.h"

namespace tolvane::testing {
namespace {

using SerialLink = LinkTest;

TEST_F(SerialLink, portsAreListedInTextOrderAndTheFirstIsSelected) {
  StartUp({"COM2 (ttyS1)", "COM10 (ttyS9)", "COM1 (ttyS0)"});
  const auto& items = window.At(IDC_PORT).items;
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0], "COM1 (ttyS0)");
  EXPECT_EQ(items[1], "COM10 (ttyS9)");
  EXPECT_EQ(items[2], "COM2 (ttyS1)");
  EXPECT_EQ(dlg->GetComPort(), 1);

  window.ComboSetCurSel(IDC_PORT, 1);
  dlg->OnSelchangePort();
  EXPECT_EQ(dlg->GetComPort(), 10);
}

TEST_F(SerialLink, selectedPortNumberIsParsedAfterTheLetters) {
  StartUp();
  const std::pair<const char*, int> cases[] = {{"COM33 (ttyUSB0)", 33}, {"COM7", 7},   {"CO", 0}, {"COMx", 0},
                                               {"COM 12", 12},          {"COM-4", -4}, {"", 0}};
  for (const auto& [text, number] : cases) {
    window.SetWindowText(IDC_PORT, text);
    EXPECT_EQ(dlg->GetSelectedPort(), number) << text;
  }
}

TEST_F(SerialLink, connectOpensWithStoredValuesAndAnnouncesItself) {
  StartUp({"COM3 (ttyUSB0)"});
  dlg->OnConnect();
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.openedPort, 3);
  EXPECT_EQ(port.openedInBuffer, 2048);
  EXPECT_EQ(port.openedOutBuffer, 1024);
  EXPECT_EQ(port.appliedSettings, "921600,n,8,1");
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Close");
  EXPECT_TRUE(dlg->IsRunning());
  EXPECT_FALSE(dlg->IsDeviceReady());
  for (const int id : kDeviceControls) EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(SerialLink, openFailureNamesThePortAndChangesNothing) {
  StartUp({"COM3 (ttyUSB0)"});
  port.refuseOpen = true;
  dlg->OnConnect();
  ASSERT_EQ(window.MessageBoxes().size(), 1u);
  EXPECT_EQ(window.MessageBoxes()[0], "COM3 Error, the serial port is occupied or does not exist!");
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "");  // the template's caption, untouched
  EXPECT_FALSE(dlg->IsRunning());
  EXPECT_TRUE(dlg->GetSendQueue().IsEmpty());
}

TEST_F(SerialLink, withoutPortsConnectReportsPortZero) {
  StartUp({});
  port.refuseOpen = true;  // no device stands behind port 0
  dlg->OnConnect();
  ASSERT_EQ(window.MessageBoxes().size(), 1u);
  EXPECT_EQ(window.MessageBoxes()[0].rfind("COM0 Error", 0), 0u);
}

TEST_F(SerialLink, settingsFailureClosesThePortAgainAndShowsTheReason) {
  StartUp();
  port.settingsError = "Invalid property value";
  dlg->OnConnect();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(window.MessageBoxes(), std::vector<std::string>{"Invalid property value"});
  EXPECT_FALSE(dlg->IsRunning());
  EXPECT_TRUE(dlg->GetSendQueue().IsEmpty());
}

TEST_F(SerialLink, connectButtonTogglesBetweenConnectAndClose) {
  StartUp();
  ConnectReady();
  dlg->OnConnect();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect");
  EXPECT_EQ(port.Writes().back(), "COM:close~");
  dlg->OnConnect();
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Close");
}

TEST_F(SerialLink, deviceReadyEnablesCommandsButNotThoseWaitingForASelection) {
  StartUp();
  ConnectReady();
  EXPECT_TRUE(dlg->IsDeviceReady());
  for (const int id : kDeviceControls) {
    const bool needsSelectionOrRadio = id == IDC_WIFI_CONNECT || id == IDC_BT_PAIR || id == IDC_BT_SEARCH;
    EXPECT_EQ(Enabled(id), !needsSelectionOrRadio) << id;
  }
}

TEST_F(SerialLink, enablingTouchesOnlyTheCommandButtons) {
  StartUp();
  for (const int id : {IDC_PORT, IDC_CONNECT, IDC_IMEI, IDC_WIFI_LIST, IDC_LANGUAGE}) window.EnableWindow(id, false);
  dlg->EnableDeviceControls(true);
  for (const int id : {IDC_PORT, IDC_CONNECT, IDC_IMEI, IDC_WIFI_LIST, IDC_LANGUAGE}) EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(SerialLink, closeResetsEveryPieceOfDeviceState) {
  StartUp();
  ConnectReady();
  for (const int id : {IDC_ACCOUNT, IDC_ACCOUNT_PASSWORD, IDC_APN_NAME, IDC_APN_PASSWORD, IDC_DEALER_PASSWORD,
                       IDC_GPS_RAW, IDC_GPS_SATELLITES, IDC_GPS_STATUS, IDC_WIFI_NAME})
    window.SetWindowText(id, "typed");
  for (const int id : {IDC_IMEI, IDC_WIFI_PASSWORD, IDC_APN_USER, IDC_DOMAIN, IDC_BT_PIN})
    window.SetWindowText(id, "kept");
  window.IpSetAddress(IDC_SERVER_IP, 0x0A000001);
  window.ListInsertItem(IDC_WIFI_LIST, 0, "net", 3);
  window.ListInsertItem(IDC_BT_LIST, 0, "phone", -1);
  window.SetTimer(TIMER_WIFI_CONNECT, 15000);
  window.SetTimer(TIMER_SET_APN, 30000);
  window.SetWindowText(IDC_WIFI_OPEN, "Close Wi-Fi");
  dlg->QueueCommand("IP:1.2.3.4");
  port.Feed("GPS_R:partial");

  dlg->ClosePort();

  for (const int id : {IDC_ACCOUNT, IDC_ACCOUNT_PASSWORD, IDC_APN_NAME, IDC_APN_PASSWORD, IDC_DEALER_PASSWORD,
                       IDC_GPS_RAW, IDC_GPS_SATELLITES, IDC_GPS_STATUS, IDC_WIFI_NAME})
    EXPECT_EQ(window.GetWindowText(id), "") << id;
  for (const int id : {IDC_IMEI, IDC_WIFI_PASSWORD, IDC_APN_USER, IDC_DOMAIN, IDC_BT_PIN})
    EXPECT_EQ(window.GetWindowText(id), "kept") << id;
  EXPECT_TRUE(window.IpIsBlank(IDC_SERVER_IP));
  EXPECT_EQ(window.ListGetItemCount(IDC_WIFI_LIST), 0);
  EXPECT_EQ(window.ListGetItemCount(IDC_BT_LIST), 0);
  for (int timer = TIMER_WIFI_CONNECT; timer <= TIMER_CLEAR_APN; ++timer) EXPECT_FALSE(window.IsTimerRunning(timer));
  EXPECT_EQ(window.GetWindowText(IDC_WIFI_OPEN), "Close Wi-Fi");
  EXPECT_TRUE(dlg->GetSendQueue().IsEmpty());
  EXPECT_TRUE(dlg->GetRecvQueue().IsEmpty());
  EXPECT_FALSE(dlg->IsDeviceReady());
  for (const int id : kDeviceControls) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(window.At(IDC_NETWORK_TYPE).text, "3G/2G");
}

TEST_F(SerialLink, closingANeverOpenedPortStillResetsButWritesNothing) {
  StartUp();
  window.SetWindowText(IDC_ACCOUNT, "typed");
  dlg->ClosePort();
  EXPECT_EQ(window.GetWindowText(IDC_ACCOUNT), "");
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect");
  EXPECT_TRUE(port.Writes().empty());
  EXPECT_EQ(port.closeCount, 0);
}

TEST_F(SerialLink, vanishedDeviceClosesTheLinkAsCloseDoes) {
  StartUp();
  ConnectReady();
  port.Vanish();
  EXPECT_FALSE(dlg->IsRunning());
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect");
  for (const int id : kDeviceControls) EXPECT_FALSE(Enabled(id)) << id;
  dlg->OnConnect();  // the next press connects again rather than closing a dead port
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(SerialLink, connectPressedBeforeTheLossIsReportedClosesTheLink) {
  StartUp();
  ConnectReady();
  port.Drop();
  dlg->OnConnect();
  EXPECT_FALSE(dlg->IsRunning());
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect");
  port.ReportLost();
  EXPECT_EQ(port.openCount, 1);
  EXPECT_TRUE(window.MessageBoxes().empty());
}

TEST_F(SerialLink, commandsPressedWhileClosedAreNotSentOnTheNextConnect) {
  StartUp();
  dlg->QueueCommand("GPS:open");
  dlg->OnConnect();
  EXPECT_EQ(dlg->GetSendQueue().GetCount(), 1u);  // "COM:open~" only
}

TEST_F(SerialLink, receivedTextIsQueuedByTheReceiveEvent) {
  StartUp();
  dlg->OnConnect();
  port.Feed("COM:open~");
  port.Feed("");
  EXPECT_EQ(dlg->GetRecvQueue().GetCount(), 1u);
}

}  // namespace
}  // namespace tolvane::testing
