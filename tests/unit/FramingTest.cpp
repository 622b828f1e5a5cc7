#include <gtest/gtest.h>

#include "link/Framing.h"
#include "link/StringQueue.h"

namespace tolvane {
namespace {

TEST(SplitAt, splitsAtFirstSeparatorOnly) {
  std::string left = "x", right = "y";
  EXPECT_EQ(SplitAt("HOST:a:b:c", ':', left, right), 4);
  EXPECT_EQ(left, "HOST");
  EXPECT_EQ(right, "a:b:c");
}

TEST(SplitAt, missingSeparatorLeavesOutputsAlone) {
  std::string left = "keep-left", right = "keep-right";
  EXPECT_LT(SplitAt("no separator", ':', left, right), 0);
  EXPECT_EQ(left, "keep-left");
  EXPECT_EQ(right, "keep-right");
}

TEST(SplitAt, separatorAtEitherEndGivesEmptySides) {
  std::string left, right;
  EXPECT_EQ(SplitAt(":value", ':', left, right), 0);
  EXPECT_EQ(left, "");
  EXPECT_EQ(right, "value");
  EXPECT_EQ(SplitAt("COM:", ':', left, right), 3);
  EXPECT_EQ(left, "COM");
  EXPECT_EQ(right, "");
}

TEST(MessageCutter, messageInThreePiecesIsCutOnceAfterTheLast) {
  CMessageCutter cutter;
  std::string message;
  cutter.Append("GPS_S:");
  EXPECT_FALSE(cutter.Next(message));
  cutter.Append("fix ");
  EXPECT_FALSE(cutter.Next(message));
  cutter.Append("3D~");
  ASSERT_TRUE(cutter.Next(message));
  EXPECT_EQ(message, "GPS_S:fix 3D");
  EXPECT_FALSE(cutter.Next(message));
}

TEST(MessageCutter, onePieceWithTwoMessagesGivesBothInOrder) {
  CMessageCutter cutter;
  std::string first, second, none;
  cutter.Append("BT:open~GPS:open~");
  ASSERT_TRUE(cutter.Next(first));
  ASSERT_TRUE(cutter.Next(second));
  EXPECT_EQ(first, "BT:open");
  EXPECT_EQ(second, "GPS:open");
  EXPECT_FALSE(cutter.Next(none));
}

TEST(MessageCutter, partialTailWaitsForItsTerminator) {
  CMessageCutter cutter;
  std::string message;
  cutter.Append("WiFi:open~WiFi_N:00:1");
  ASSERT_TRUE(cutter.Next(message));
  EXPECT_EQ(message, "WiFi:open");
  EXPECT_FALSE(cutter.Next(message));
  EXPECT_EQ(cutter.Pending(), "WiFi_N:00:1");
  cutter.Append("1~");
  ASSERT_TRUE(cutter.Next(message));
  EXPECT_EQ(message, "WiFi_N:00:11");
}

TEST(MessageCutter, twoTerminatorsInARowGiveAnEmptyMessage) {
  CMessageCutter cutter;
  std::string message = "x";
  cutter.Append("~");
  ASSERT_TRUE(cutter.Next(message));
  EXPECT_EQ(message, "");
}

TEST(ByteFramer, characterSplitAcrossReadsArrivesWhole) {
  CByteFramer framer;
  const std::string word = "COM:\xE4\xB8\xAD~";  // "中" is three bytes
  EXPECT_EQ(framer.Feed(word.substr(0, 5)), "");
  EXPECT_EQ(framer.Feed(word.substr(5)), word);
  EXPECT_EQ(framer.PendingBytes(), 0u);
}

TEST(ByteFramer, keepsBytesAfterTheLastTerminator) {
  CByteFramer framer;
  EXPECT_EQ(framer.Feed("A:1~B:2~C:"), "A:1~B:2~");
  EXPECT_EQ(framer.PendingBytes(), 2u);
  EXPECT_EQ(framer.Feed("3~"), "C:3~");
}

TEST(ByteFramer, readIsTakenUpToItsFirstNul) {
  CByteFramer framer;
  EXPECT_EQ(framer.Feed(std::string("A:1~\0B:2~", 9)), "A:1~");
  EXPECT_EQ(framer.PendingBytes(), 0u);
}

TEST(ByteFramer, invalidBytesBecomeReplacementCharacters) {
  CByteFramer framer;
  EXPECT_EQ(framer.Feed("K:\xFF\xC3~"), "K:\xEF\xBF\xBD\xEF\xBF\xBD~");
}

TEST(DecodeUtf8Lossy, rejectsOverlongAndSurrogateForms) {
  EXPECT_EQ(DecodeUtf8Lossy("\xC0\xAF"), "\xEF\xBF\xBD");
  EXPECT_EQ(DecodeUtf8Lossy("\xED\xA0\x80"), "\xEF\xBF\xBD");
  EXPECT_EQ(DecodeUtf8Lossy("ok \xF0\x9F\x93\xBB"), "ok \xF0\x9F\x93\xBB");
}

TEST(Utf16Length, countsUnitsNotBytes) {
  EXPECT_EQ(Utf16Length("123456789012345"), 15);
  EXPECT_EQ(Utf16Length("中文简体"), 4);
  EXPECT_EQ(Utf16Length("\xF0\x9F\x93\xBB"), 2);
}

TEST(StringQueue, oldestComesOutFirst) {
  CStringQueue queue;
  queue.AddHead("first");
  queue.AddHead("second");
  queue.AddHead("third");
  std::string taken;
  ASSERT_TRUE(queue.TakeTail(taken));
  EXPECT_EQ(taken, "first");
  ASSERT_TRUE(queue.TakeTail(taken));
  EXPECT_EQ(taken, "second");
  queue.RemoveAll();
  EXPECT_TRUE(queue.IsEmpty());
  EXPECT_FALSE(queue.TakeTail(taken));
  EXPECT_EQ(taken, "second");
}

}  // namespace
}  // namespace tolvane
