#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "res/DialogFit.h"

namespace tolvane {
namespace {

// A fixed-pitch font: every character `perChar` pixels wide, every line 10 high.
CaptionMeasure FixedPitch(int perChar) {
  return [perChar](const CControlTemplate&, std::string_view text) {
    int lines = 1, longest = 0, current = 0;
    for (const char c : text) {
      if ((c & 0xC0) == 0x80) continue;  // within a UTF-8 character
      current = c == '\n' ? 0 : current + 1;
      lines += c == '\n' ? 1 : 0;
      longest = std::max(longest, current);
    }
    return CCaptionSize{longest * perChar, lines * 10};
  };
}

// One pixel per dialog unit each way at 100%.
constexpr CDialogBaseUnits kUnitPixels{4, 8};

CControlTemplate Row(ControlKind kind, const char* caption, CDialogRect rect, bool hidden = false,
                     bool multiLine = false) {
  return {1, kind, {caption, caption}, FrameId::Top, rect, rect, "", {"", ""}, hidden, multiLine};
}

CDialogTemplate Dialog(std::span<const CControlTemplate> controls) {
  return {1, {"", ""}, 400, 100, 400, 100, {"", 9, 400}, controls};
}

TEST(FitDialog, growsEvenlyInStepsToTheLeastScaleAtWhichTheMainWindowFits) {
  for (const TextLanguage language : {TextLanguage::English, TextLanguage::Chinese}) {
    EXPECT_EQ(FitDialog(MainDialogTemplate(), language, {6, 13}, FixedPitch(1)).horizontalPercent, 100);
    const CDialogScale grown = FitDialog(MainDialogTemplate(), language, {6, 13}, FixedPitch(8));
    EXPECT_GT(grown.horizontalPercent, 100);
    EXPECT_LT(grown.horizontalPercent, kMaxGrowthPercent);
    EXPECT_EQ(grown.horizontalPercent % kGrowthStepPercent, 0);
    EXPECT_TRUE(AllCaptionsFit(MainDialogTemplate(), language, grown, FixedPitch(8)));
    CDialogScale smaller = grown;
    smaller.horizontalPercent -= kGrowthStepPercent;
    EXPECT_FALSE(AllCaptionsFit(MainDialogTemplate(), language, smaller, FixedPitch(8)));
  }
}

TEST(FitDialog, labelTextEndsBeforeTheNextVisibleControlOnItsLine) {
  // 30 pixels of text in a wide label that runs under a button 20 pixels on.
  std::array rows{Row(ControlKind::Label, "abc", {0, 0, 60, 8}), Row(ControlKind::Button, "", {20, 0, 30, 14}),
                  Row(ControlKind::Frame, "", {5, 0, 80, 20}), Row(ControlKind::Edit, "", {10, 0, 5, 8}, true)};
  EXPECT_EQ(FitDialog(Dialog(rows), TextLanguage::English, kUnitPixels, FixedPitch(10)).horizontalPercent, 148);
  // A control on the next line leaves the label alone.
  rows[1].english.y = 8;
  EXPECT_EQ(FitDialog(Dialog(rows), TextLanguage::English, kUnitPixels, FixedPitch(10)).horizontalPercent, 100);
}

TEST(FitDialog, multiLineCaptionBreaksAtSpacesWhereTheButtonIsTallEnough) {
  std::array rows{Row(ControlKind::Button, "ab cd", {0, 0, 40, 20}, false, true)};
  EXPECT_EQ(FitDialog(Dialog(rows), TextLanguage::English, kUnitPixels, FixedPitch(10)).horizontalPercent, 100);
  // One line of 50 pixels where two lines do not fit, or where the caption is one line in Chinese.
  EXPECT_EQ(FitDialog(Dialog(rows), TextLanguage::Chinese, kUnitPixels, FixedPitch(10)).horizontalPercent, 124);
  rows[0].english.cy = 19;
  EXPECT_EQ(FitDialog(Dialog(rows), TextLanguage::English, kUnitPixels, FixedPitch(10)).horizontalPercent, 124);
  rows[0].caption = {"abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrstuvwxyz"};
  EXPECT_EQ(FitDialog(Dialog(rows), TextLanguage::English, kUnitPixels, FixedPitch(10)).horizontalPercent,
            kMaxGrowthPercent);
}

TEST(FitDialog, comboBoxShowsEachOfItsFixedChoicesWhole) {
  static constexpr std::array<const char*, 2> kChoices{"ab", "abcde"};
  std::array rows{Row(ControlKind::ComboBox, "", {0, 0, 40, 12})};
  rows[0].choices = kChoices;
  EXPECT_EQ(FitDialog(Dialog(rows), TextLanguage::English, kUnitPixels, FixedPitch(10)).horizontalPercent, 124);
}

TEST(DialogScale, convertsEdgesSoControlsThatTouchStillTouch) {
  const CDialogScale scale{{7, 15}, 104};
  for (int x = 0; x < 40; ++x)
    EXPECT_EQ(scale.ToPixels({x, 0, 5, 8}).right, scale.ToPixels({x + 5, 0, 5, 8}).left) << x;
  EXPECT_EQ(scale.ToPixels({10, 8, 20, 16}), (CPixelRect{18, 15, 55, 45}));
}

}  // namespace
}  // namespace tolvane
