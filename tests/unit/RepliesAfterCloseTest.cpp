// A reply handled after its own link closed may show its box and fill its fields, but must never
// bring a device button back: it would be usable with no link.
#include <gtest/gtest.h>

#include "RadioTestFixture.h"
#include "ThreadedLinkFixture.h"

namespace tolvane::testing {
namespace {

// Every key the device sends, with values that would enable something on a live link.
const char* const kReplies[] = {
    "IMEI:ok",           "IMEI:356938035643809", "IP:ok",          "HOST:fail",         "ACCOUNT:ok",
    "CUSTOMER_PW:ok",    "APN:ok",               "APN_RESET:fail", "LANGUAGE:zh_CN",    "LANGUAGE:ok",
    "NETWORK_TYPE:2G",   "NETWORK_TYPE:fail",    "WiFi:open",      "WiFi:connected_ok", "WiFi:connected_fail",
    "WiFi_N:aa:01",      "WiFi_L:Lab^aa:01^3",   "BT:open",        "BT:close",          "BT_P:bb:02^pair_ok",
    "BT_P:bb:02^unpair_fail", "BT_L:Phone^bb:02^P", "GPS:open",    "GPS:close",         "GPS_ST:7",
};

std::vector<int> EnabledDeviceControls(const CHeadlessWindow& window) {
  std::vector<int> enabled;
  for (const int id : kDeviceControls)
    if (window.IsWindowEnabled(id)) enabled.push_back(id);
  return enabled;
}

class ReplyAfterClose : public RadioTest, public ::testing::WithParamInterface<const char*> {
 protected:
  // A link in the middle of everything: radios on, rows chosen, requests outstanding.
  void StartBusy() {
    StartReady();
    Say("WiFi:open");
    Say("WiFi_L:Lab^aa:01^3");
    dlg->OnClickWifiList(0);
    Say("BT:open");
    Say("BT_L:Phone^bb:02^");
    dlg->OnClickBtList(0);
    dlg->OnPairBt();
    dlg->OnConnectWifi();
    dlg->OnClearApn();
  }
};

TEST_P(ReplyAfterClose, inALaterHopEnablesNoDeviceButton) {
  StartBusy();
  Say("COM:close");
  Say(GetParam());
  EXPECT_EQ(EnabledDeviceControls(window), std::vector<int>{});
  // Nor does a click on a row that such a reply listed.
  dlg->OnClickWifiList(0);
  dlg->OnClickBtList(0);
  EXPECT_EQ(EnabledDeviceControls(window), std::vector<int>{});
}

TEST_P(ReplyAfterClose, afterAFactoryResetEnablesNoDeviceButton) {
  StartBusy();
  Say("FACTORY_RESET:reboot");
  Say(GetParam());
  EXPECT_EQ(EnabledDeviceControls(window), std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(EveryKey, ReplyAfterClose, ::testing::ValuesIn(kReplies));

TEST_F(ReplyAfterClose, anExpiryWhoseBoxOutlivesTheLinkEnablesNothing) {
  StartBusy();
  window.SetMessageBoxHook([this](const std::string&) { Say("COM:close"); });
  window.AdvanceClock(10000);  // Clear APN's wait runs out; the link closes while its box is open
  EXPECT_EQ(EnabledDeviceControls(window), std::vector<int>{});
}

using ThreadedReplyAfterClose = ThreadedLinkTest;

TEST_F(ThreadedReplyAfterClose, theRestOfTheClosingPieceEnablesNoDeviceButton) {
  ConnectReady();
  port.Feed("BT:open~WiFi:open~");
  ASSERT_TRUE(Pump([&] { return dlg->IsBtOn() && dlg->IsWifiOn(); }));
  std::string piece = "COM:close~";
  for (const char* reply : kReplies) piece += std::string(reply) + "~";
  port.Feed(piece + "IMEI:123456789012345~");
  ASSERT_TRUE(Pump([&] { return window.GetWindowText(IDC_IMEI) == "123456789012345"; }));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(EnabledDeviceControls(window), std::vector<int>{});
}

}  // namespace
}  // namespace tolvane::testing
