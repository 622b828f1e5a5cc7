// The line settings every port takes: what is read from them, and what no port could apply.
#include <gtest/gtest.h>

#include "link/LineSettings.h"

namespace tolvane {
namespace {

TEST(LineSettings, theLinksLineAndEveryValueBothPlatformsApplyAreRead) {
  std::string errorText;
  const std::optional<CLineSettings> link = ParseLineSettings(kLinkLineSettings, errorText);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->baudRate, 921600);
  EXPECT_EQ(link->parity, EParity::None);
  EXPECT_EQ(link->dataBits, 8);
  EXPECT_EQ(link->stopBits, EStopBits::One);

  const std::optional<CLineSettings> other = ParseLineSettings(" 9600 , E , 7 , 2 ", errorText);
  ASSERT_TRUE(other);
  EXPECT_EQ(other->baudRate, 9600);
  EXPECT_EQ(other->parity, EParity::Even);
  EXPECT_EQ(other->dataBits, 7);
  EXPECT_EQ(other->stopBits, EStopBits::Two);
  for (const auto& [text, parity] : {std::pair{"1200,o,5,1", EParity::Odd}, std::pair{"1200,M,6,1", EParity::Mark},
                                     std::pair{"1200,s,8,2", EParity::Space}})
    EXPECT_EQ(ParseLineSettings(text, errorText).value_or(CLineSettings{}).parity, parity) << text;
  EXPECT_EQ(errorText, "");
}

TEST(LineSettings, malformedOrUnappliableSettingsAreRefusedWithTheMessageBoxText) {
  for (const char* text : {"", "921600,n,8", "921600,n,8,1,x", "fast,n,8,1", "0,n,8,1", "-5,n,8,1", "+9600,n,8,1",
                           "2147483648,n,8,1", "921600,x,8,1", "921600,no,8,1", "921600,n,9,1", "921600,n,4,1",
                           "921600,n,8,3", "921600,n,8,1.5", "9600,n,5,2", "9 600,n,8,1"}) {
    std::string errorText;
    EXPECT_FALSE(ParseLineSettings(text, errorText)) << text;
    EXPECT_EQ(errorText, "Invalid property value") << text;
  }
}

}  // namespace
}  // namespace tolvane
