// The Win32 window's notifications reach the logic: every command button, mouse clicks on list
// rows, combo box choices and the port list's drop-down.
#include <gtest/gtest.h>

#include "Win32WindowFixture.h"

namespace tolvane::win32::testing {
namespace {

class Wiring : public Win32WindowFixture {
 protected:
  void SetUp() override {
    Win32WindowFixture::SetUp();
    m_boxes = std::make_unique<CBoxAnswerer>(m_window->Handle());
  }
  void TearDown() override {
    m_boxes.reset();
    Win32WindowFixture::TearDown();
  }
  // A mouse click on a row's second column, or below the last row when `row` is the row count.
  void ClickRow(int id, int row) {
    HWND list = Control(id);
    RECT cell{};
    const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const int measured = row < rows ? row : rows - 1;
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    ASSERT_TRUE(
        ::SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(measured), reinterpret_cast<LPARAM>(&cell)));
    const int x = (cell.left + cell.right) / 2;
    const int y = row < rows ? (cell.top + cell.bottom) / 2 : cell.bottom + (cell.bottom - cell.top);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ::PostMessageW(list, WM_NULL, 0, 0);
    Pump([&] { return !HasQueuedMessages(); });
  }
  static bool HasQueuedMessages() {
    MSG message;
    return ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
  }
  int RowImage(int id, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ::SendMessageW(Control(id), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }
  // A key pressed in the control that has the focus, through the dialog's keyboard handling.
  void PressKeyIn(int id, WPARAM key) {
    ::SendMessageW(m_window->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
    MSG message{::GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
    if (!::IsDialogMessageW(m_window->Handle(), &message)) ::DispatchMessageW(&message);
    Pump([] { return true; });
  }
  void Click(int id) { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }

  std::unique_ptr<CBoxAnswerer> m_boxes;
};

TEST_F(Wiring, everyCommandButtonSendsItsCommand) {
  MakeReady();
  m_window->SetWindowText(IDC_IMEI, "356938035643809");
  m_window->IpSetAddress(IDC_SERVER_IP, 0xC0A80A14);
  m_window->SetWindowText(IDC_DOMAIN, "parlo.example");
  m_window->SetWindowText(IDC_ACCOUNT, "tech");
  m_window->SetWindowText(IDC_ACCOUNT_PASSWORD, "secret");
  m_window->SetWindowText(IDC_DEALER_PASSWORD, "1234");
  m_window->SetWindowText(IDC_APN_NAME, "cmnet");
  const struct {
    int id;
    const char* command;
  } kButtons[] = {
      {IDC_WRITE_IMEI, "IMEI:356938035643809~"},
      {IDC_UPDATE_IP, "IP:192.168.10.20~"},
      {IDC_UPDATE_DOMAIN, "HOST:parlo.example~"},
      {IDC_SET_ACCOUNT, "ACCOUNT:tech^secret~"},
      {IDC_UPDATE_DEALER_PW, "CUSTOMER_PW:1234~"},
      {IDC_SET_APN, "APN:cmnet^@~"},
      {IDC_CLEAR_APN, "APN_RESET:~"},
      {IDC_SET_LANGUAGE, "LANGUAGE:en_US~"},  // hidden in English, wired all the same
      {IDC_SET_NETWORK, "NETWORK_TYPE:3G/2G~"},
      {IDC_WIFI_OPEN, "WiFi:open~"},
      {IDC_BT_OPEN, "BT:open~"},
      {IDC_GPS_OPEN, "GPS:open~"},
      {IDC_FACTORY_RESET, "FACTORY_RESET:reboot~"},
  };
  for (const auto& button : kButtons) {
    // As the button reports a click; some are greyed out by the one before, awaiting its reply.
    Notify(button.id, BN_CLICKED);
    EXPECT_TRUE(DeviceHeard(button.command)) << button.command;
  }
  EXPECT_TRUE(m_boxes->Texts().empty());
}

TEST_F(Wiring, wifiRowClickedWithTheMouseChoosesTheNetworkAndConnectSendsThePassword) {
  MakeReady();
  Click(IDC_WIFI_OPEN);
  m_dlg->HandleDeviceMessage("WiFi:open");
  m_dlg->HandleDeviceMessage("WiFi_L:Office^3c:84:6a:01:22:9f^4");
  m_dlg->HandleDeviceMessage("WiFi_L:Guest^a0:63:91:7e:10:04^1");
  m_dlg->HandleDeviceMessage("WiFi_L:Lab^a0:63:91:7e:10:05^-1");
  // Each row shows the signal picture the device named; none for an index it has not.
  EXPECT_EQ(RowImage(IDC_WIFI_LIST, 0), 4);
  EXPECT_EQ(RowImage(IDC_WIFI_LIST, 1), 1);
  EXPECT_LT(RowImage(IDC_WIFI_LIST, 2), 0);
  EXPECT_NE(RowImage(IDC_WIFI_LIST, 2), I_IMAGECALLBACK);

  // The keyboard moves the highlight and chooses nothing.
  PressKeyIn(IDC_WIFI_LIST, VK_DOWN);
  EXPECT_EQ(m_dlg->GetWifiSelected(), "");
  EXPECT_FALSE(m_window->IsWindowEnabled(IDC_WIFI_CONNECT));

  ClickRow(IDC_WIFI_LIST, 1);
  EXPECT_EQ(m_dlg->GetWifiSelected(), "a0:63:91:7e:10:04");
  EXPECT_EQ(m_window->GetWindowText(IDC_WIFI_NAME), "Guest");
  ASSERT_TRUE(m_window->IsWindowEnabled(IDC_WIFI_CONNECT));
  ClickRow(IDC_WIFI_LIST, 3);  // below the rows: the choice stays
  EXPECT_EQ(m_dlg->GetWifiSelected(), "a0:63:91:7e:10:04");

  m_window->SetWindowText(IDC_WIFI_PASSWORD, "parlo123");
  Click(IDC_WIFI_CONNECT);
  EXPECT_TRUE(DeviceHeard("WiFi_PW:a0:63:91:7e:10:04^parlo123~"));
}

TEST_F(Wiring, bluetoothSearchRowClickAndUnpairReachTheDevice) {
  MakeReady();
  Click(IDC_BT_OPEN);
  m_dlg->HandleDeviceMessage("BT:open");
  ASSERT_TRUE(m_window->IsWindowEnabled(IDC_BT_SEARCH));
  Click(IDC_BT_SEARCH);
  EXPECT_TRUE(DeviceHeard("BT:research~"));
  m_dlg->HandleDeviceMessage("BT_L:Headset^00:11:22:33:44:55^P");

  ClickRow(IDC_BT_LIST, 0);
  EXPECT_EQ(m_dlg->GetBtSelected(), "00:11:22:33:44:55");
  EXPECT_EQ(m_window->GetWindowText(IDC_BT_PAIR), "Unpair");
  Click(IDC_BT_PAIR);
  EXPECT_TRUE(DeviceHeard("BT:00:11:22:33:44:55^unpair~"));
}

TEST_F(Wiring, networkTypeChosenWithTheKeyboardIsWhatSetNetworkSends) {
  MakeReady();
  PressKeyIn(IDC_NETWORK_TYPE, VK_UP);
  EXPECT_EQ(m_window->GetWindowText(IDC_NETWORK_TYPE), "3G");
  Click(IDC_SET_NETWORK);
  EXPECT_TRUE(DeviceHeard("NETWORK_TYPE:3G~"));
}

TEST_F(Wiring, portListIsReadAgainWhenItDropsDownWhileTheLinkIsClosed) {
  HWND ports = Control(IDC_PORT);
  m_portList.ports = {"COM1", "COM7"};
  ::SendMessageW(ports, CB_SHOWDROPDOWN, TRUE, 0);
  ::SendMessageW(ports, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(m_window->ComboGetCount(IDC_PORT), 2);
  EXPECT_EQ(m_window->GetWindowText(IDC_PORT), "COM1");  // the choice stays while it is there

  // The chosen port went away: the likely device is chosen.
  m_portList.ports = {"COM3", "COM9"};
  m_portList.preferred = "COM9";
  ::SendMessageW(ports, CB_SHOWDROPDOWN, TRUE, 0);
  ::SendMessageW(ports, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(m_window->GetWindowText(IDC_PORT), "COM9");
  EXPECT_EQ(m_dlg->GetComPort(), 9);

  // While the link is open the list is left as it is.
  Click(IDC_CONNECT);
  ASSERT_TRUE(m_port.IsOpen());
  m_portList.ports = {"COM4"};
  ::SendMessageW(ports, CB_SHOWDROPDOWN, TRUE, 0);
  ::SendMessageW(ports, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(m_window->ComboGetCount(IDC_PORT), 2);
  EXPECT_EQ(m_window->GetWindowText(IDC_PORT), "COM9");
}

TEST_F(Wiring, comboResetContentEmptiesTheListAndTheField) {
  m_window->ComboResetContent(IDC_PORT);
  EXPECT_EQ(m_window->ComboGetCount(IDC_PORT), 0);
  EXPECT_EQ(m_window->GetWindowText(IDC_PORT), "");
  EXPECT_EQ(m_window->ComboGetCurSel(IDC_PORT), -1);
}

}  // namespace
}  // namespace tolvane::win32::testing
