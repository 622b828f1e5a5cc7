#include "RadioTestFixture.h"

namespace tolvane::testing {
namespace {

using GpsPanel = RadioTest;

constexpr int kBoxes[] = {IDC_GPS_RAW, IDC_GPS_SATELLITES, IDC_GPS_STATUS};

TEST_F(GpsPanel, switchingGoesOffOpeningOnClosingOffAndEachStepEmptiesTheBoxes) {
  StartReady();
  const auto fill = [this] {
    for (const int id : kBoxes) window.SetWindowText(id, "old");
  };
  const auto expectEmpty = [this](const char* step) {
    for (const int id : kBoxes) EXPECT_EQ(Text(id), "") << step << " " << id;
  };

  fill();
  dlg->OnOpenGps();
  EXPECT_EQ(TakeSentCommands(), Commands{"GPS:open~"});
  EXPECT_TRUE(dlg->IsGpsOn());
  EXPECT_FALSE(Enabled(IDC_GPS_OPEN));
  expectEmpty("press in Off");

  fill();
  Say("GPS:open");
  EXPECT_EQ(Text(IDC_GPS_OPEN), "Close GPS");
  EXPECT_TRUE(Enabled(IDC_GPS_OPEN));
  expectEmpty("open reply");

  dlg->OnOpenGps();
  EXPECT_EQ(TakeSentCommands(), Commands{"GPS:close~"});
  EXPECT_FALSE(dlg->IsGpsOn());
  EXPECT_FALSE(Enabled(IDC_GPS_OPEN));

  fill();
  Say("GPS:close");
  EXPECT_EQ(Text(IDC_GPS_OPEN), "Open GPS");
  EXPECT_TRUE(Enabled(IDC_GPS_OPEN));
  expectEmpty("close reply");

  Say("GPS:opened");
  EXPECT_FALSE(dlg->IsGpsOn());
}

TEST_F(GpsPanel, dataIsShownWhileOpeningAndOnAndDroppedWhileClosingAndOff) {
  StartReady();
  Say("GPS_R:x");
  Say("GPS_ST:3");
  Say("GPS_S:searching");
  for (const int id : kBoxes) EXPECT_EQ(Text(id), "") << id;

  dlg->OnOpenGps();
  Say("GPS_R:abc");
  Say("GPS_R:def");
  Say("GPS_ST:7");
  Say("GPS_ST:8");
  Say("GPS_S:fix");
  EXPECT_EQ(Text(IDC_GPS_RAW), "abcdef");
  EXPECT_EQ(Text(IDC_GPS_SATELLITES), "8");
  EXPECT_EQ(Text(IDC_GPS_STATUS), "fix");

  Say("GPS:open");
  Say("GPS_R:$GPGGA,1:2^3");  // shown as it came, colons and carets included
  EXPECT_EQ(Text(IDC_GPS_RAW), "$GPGGA,1:2^3");

  dlg->OnOpenGps();  // Closing: dropped even without a reply
  Say("GPS_R:late");
  Say("GPS_ST:9");
  EXPECT_EQ(Text(IDC_GPS_RAW), "");
  EXPECT_EQ(Text(IDC_GPS_SATELLITES), "");
}

TEST_F(GpsPanel, rawBoxIsEmptiedOnlyOnceItHoldsTheLimit) {
  StartReady();
  dlg->OnOpenGps();
  window.SetWindowText(IDC_GPS_RAW, std::string(CMirlSettingsDlg::GPS_RAW_MAX - 1, 'a'));
  Say("GPS_R:0123456789");
  EXPECT_EQ(window.GetWindowTextLength(IDC_GPS_RAW), CMirlSettingsDlg::GPS_RAW_MAX + 9);
  Say("GPS_R:next");
  EXPECT_EQ(Text(IDC_GPS_RAW), "next");
}

TEST_F(GpsPanel, longRunNeverHoldsMoreThanTheLimitPlusOneMessage) {
  StartReady();
  dlg->OnOpenGps();
  const std::string sentence = "GPS_R:" + std::string(78, 'N') + "\r\n";
  int largest = 0;
  int emptied = 0;
  for (int i = 0; i < 20000; ++i) {
    const int before = window.GetWindowTextLength(IDC_GPS_RAW);
    Say(sentence);
    const int after = window.GetWindowTextLength(IDC_GPS_RAW);
    if (after < before) ++emptied;
    largest = std::max(largest, after);
  }
  EXPECT_LE(largest, CMirlSettingsDlg::GPS_RAW_MAX - 1 + 80);
  EXPECT_GE(largest, CMirlSettingsDlg::GPS_RAW_MAX);  // it did fill up before each emptying
  // 64 messages of 80 reach 5120 exactly; each later one starts a box of its own.
  EXPECT_EQ(emptied, (20000 - 1) / 64);
}

TEST_F(GpsPanel, linkResetEmptiesTheBoxesButKeepsSwitchAndCaption) {
  StartReady();
  dlg->OnOpenGps();
  Say("GPS:open");
  Say("GPS_R:abc");
  Say("GPS_ST:7");
  Say("GPS_S:fix");
  dlg->OnConnect();
  for (const int id : kBoxes) EXPECT_EQ(Text(id), "") << id;
  EXPECT_TRUE(dlg->IsGpsOn());
  EXPECT_EQ(Text(IDC_GPS_OPEN), "Close GPS");
  EXPECT_FALSE(Enabled(IDC_GPS_OPEN));
  ConnectReady();
  EXPECT_TRUE(Enabled(IDC_GPS_OPEN));
}

}  // namespace
}  // namespace tolvane::testing
