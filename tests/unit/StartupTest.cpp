#include "LinkTestFixture.h"
#include "res/SignalPictures.h"

namespace tolvane::testing {
namespace {

using Startup = LinkTest;

TEST_F(Startup, withPortsTheWindowComesUpClosedWithCommandsDisabled) {
  for (const int id : kDeviceControls) window.EnableWindow(id, true);
  StartUp({"COM3 (ttyUSB0)", "COM1 (ttyS0)"});
  EXPECT_EQ(window.At(IDC_PORT).text, "COM1 (ttyS0)");
  EXPECT_EQ(dlg->GetComPort(), 1);
  EXPECT_EQ(dlg->GetCommSettings(), "921600,n,8,1");
  EXPECT_EQ(dlg->GetInBufferSize(), 2048);
  EXPECT_EQ(dlg->GetOutBufferSize(), 1024);
  for (const int id : kDeviceControls) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(window.At(IDC_IMEI).limit, 15);
  EXPECT_EQ(window.At(IDC_BT_PIN).limit, 8);
  EXPECT_FALSE(dlg->IsRunning());
  EXPECT_TRUE(window.IpIsBlank(IDC_SERVER_IP));
}

TEST_F(Startup, listsGetThreeCentredColumnsOfAThirdOfTheClientWidth) {
  window.clientWidth = 100;
  StartUp();
  const auto& wifi = window.At(IDC_WIFI_LIST);
  ASSERT_EQ(wifi.columns.size(), 3u);
  EXPECT_EQ(wifi.columns[0].heading, "Signal-strength");
  EXPECT_EQ(wifi.columns[1].heading, "Name");
  EXPECT_EQ(wifi.columns[2].heading, "Address");
  for (const auto& column : wifi.columns) {
    EXPECT_EQ(column.width, 33);
    EXPECT_EQ(column.align, ColumnAlign::Center);
  }
  EXPECT_EQ(wifi.listStyles, LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);

  const auto& bt = window.At(IDC_BT_LIST);
  ASSERT_EQ(bt.columns.size(), 3u);
  EXPECT_EQ(bt.columns[0].heading, "Name");
  EXPECT_EQ(bt.columns[1].heading, "Address");
  EXPECT_EQ(bt.columns[2].heading, "Status");
  EXPECT_EQ(bt.columns[2].width, 33);
  EXPECT_EQ(bt.listStyles, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(bt.images, nullptr);
}

TEST_F(Startup, wideListGetsColumnsOf122) {
  window.clientWidth = 366;
  StartUp();
  EXPECT_EQ(window.At(IDC_WIFI_LIST).columns[1].width, 122);
}

TEST_F(Startup, combosHoldTheirItemsInSortedOrderWithTheDefaultsSelected) {
  StartUp();
  EXPECT_EQ(window.At(IDC_LANGUAGE).items, (std::vector<std::string>{"English", "中文简体"}));
  EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), 0);
  EXPECT_EQ(window.At(IDC_NETWORK_TYPE).items, (std::vector<std::string>{"2G", "3G", "3G/2G"}));
  EXPECT_EQ(window.ComboGetCurSel(IDC_NETWORK_TYPE), 2);
  EXPECT_EQ(window.At(IDC_NETWORK_TYPE).text, "3G/2G");
}

TEST_F(Startup, signalImagesAreAttachedToTheWifiListIndexedByLitBars) {
  StartUp();
  const CImageList* images = window.At(IDC_WIFI_LIST).images;
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(images->GetImageCount(), 5);
  for (const auto& picture : images->pictures) {
    EXPECT_EQ(picture.width, 62);
    EXPECT_EQ(picture.height, 22);
  }
  const auto count = [](const CPicture& picture, std::uint32_t colour) {
    return std::count(picture.pixels.begin(), picture.pixels.end(), colour);
  };
  EXPECT_EQ(count(images->pictures[0], kSignalBarLit), 0);
  EXPECT_GT(count(images->pictures[0], kSignalBarOutline), 0);
  for (int lit = 1; lit < 5; ++lit)
    EXPECT_GT(count(images->pictures[lit], kSignalBarLit), count(images->pictures[lit - 1], kSignalBarLit));
  EXPECT_EQ(count(images->pictures[4], kSignalBarOutline), 0);
  EXPECT_EQ(images->pictures[4].At(0, 0), kSignalBackground);
  for (const auto& picture : images->pictures) EXPECT_EQ(count(picture, 0x000000), 0);  // black is the mask
}

TEST_F(Startup, withoutPortsEverythingAfterTheSearchIsSkipped) {
  for (const int id : kDeviceControls) window.EnableWindow(id, true);
  StartUp({});
  for (const int id : kDeviceControls) EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_TRUE(window.At(IDC_WIFI_LIST).columns.empty());
  EXPECT_EQ(window.At(IDC_WIFI_LIST).images, nullptr);
  EXPECT_TRUE(window.At(IDC_LANGUAGE).items.empty());
  EXPECT_TRUE(window.At(IDC_NETWORK_TYPE).items.empty());
  EXPECT_EQ(window.At(IDC_BT_PIN).limit, 0);
  EXPECT_EQ(window.At(IDC_IMEI).limit, 15);
  EXPECT_EQ(dlg->GetComPort(), 0);
  EXPECT_TRUE(window.MessageBoxes().empty());
}

TEST_F(Startup, failedItemCountStopsAfterSelectingTheFirstPort) {
  window.failComboCount = true;
  StartUp({"COM4 (ttyUSB1)"});
  EXPECT_EQ(dlg->GetComPort(), 0);
  EXPECT_TRUE(window.At(IDC_WIFI_LIST).columns.empty());
}

TEST_F(Startup, aboutEntryIsAddedToTheSystemMenu) {
  StartUp();
  ASSERT_EQ(window.systemMenu.size(), 1u);
  EXPECT_EQ(window.systemMenu[0].first, 16);
  EXPECT_EQ(window.systemMenu[0].second, "About Tolvane(&A)...");
}

TEST_F(Startup, withoutASystemMenuStartUpStillCompletes) {
  window.hasSystemMenu = false;
  StartUp();
  EXPECT_EQ(window.At(IDC_WIFI_LIST).columns.size(), 3u);
}

TEST_F(Startup, systemCommandsSixteenToThirtyOneOpenTheAboutBox) {
  StartUp();
  dlg->OnSysCommand(16);
  dlg->OnSysCommand(31);
  EXPECT_EQ(window.aboutBoxesShown, 2);
  dlg->OnSysCommand(32);
  dlg->OnSysCommand(15);
  dlg->OnSysCommand(0xF060);  // close
  EXPECT_EQ(window.aboutBoxesShown, 2);
}

TEST_F(Startup, destroyClosesAnOpenLink) {
  StartUp();
  ConnectReady();
  dlg->OnDestroy();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.Writes().back(), "COM:close~");
  EXPECT_FALSE(dlg->IsRunning());
}

}  // namespace
}  // namespace tolvane::testing
