#include <gtest/gtest.h>

#include "win32/Utf16.h"

namespace tolvane::win32 {
namespace {

TEST(Utf16, chineseAndCharactersBeyondTheBasicPlaneSurviveTheRoundTrip) {
  const std::string text = "关于 Tolvane(&A)... \xF0\x9F\x93\xBB";  // the last one takes two UTF-16 units
  const std::wstring wide = Widen(text);
  EXPECT_EQ(wide.size(), 20u);
  EXPECT_EQ(wide.substr(0, 2), L"\u5173\u4E8E");
  EXPECT_EQ(Narrow(wide), text);
}

TEST(Utf16, invalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Widen("a\xFF"
                  "b"),
            L"a\uFFFDb");
  EXPECT_EQ(Widen(""), L"");
  EXPECT_EQ(Narrow(L""), "");
}

}  // namespace
}  // namespace tolvane::win32
