#include <gtest/gtest.h>

#include <algorithm>
#include <random>

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

TEST(ByteFramer, nulBytesAreDroppedAndEverythingAroundThemKept) {
  // A burst of 500 messages with NULs strewn in, read in pieces of every size.
  std::mt19937 random(7);
  std::string wire;
  std::vector<std::string> sent;
  for (int i = 0; i < 500; ++i) {
    sent.push_back("IMEI:" + std::to_string(100000 + i));
    wire += sent.back() + "~";
  }
  std::vector<std::size_t> nulAt;
  for (int i = 0; i < 40; ++i) nulAt.push_back(std::uniform_int_distribution<std::size_t>(0, wire.size())(random));
  std::sort(nulAt.rbegin(), nulAt.rend());
  for (const std::size_t at : nulAt) wire.insert(at, 1, '\0');

  CByteFramer framer;
  CMessageCutter cutter;
  for (std::size_t at = 0; at < wire.size();) {
    const std::size_t size = std::uniform_int_distribution<std::size_t>(1, 300)(random);
    cutter.Append(framer.Feed(std::string_view(wire).substr(at, size)));
    at += size;
  }
  std::vector<std::string> received;
  for (std::string message; cutter.Next(message);) received.push_back(message);
  EXPECT_EQ(received, sent);
}

TEST(ByteFramer, endlessTextWithoutTerminatorStaysBoundedAndTheNextMessageGetsThrough) {
  CByteFramer framer;
  const std::string noise(4096, 'x');
  for (int i = 0; i < 2560; ++i) {  // 10 MB
    EXPECT_EQ(framer.Feed(noise), "");
    ASSERT_LE(framer.PendingBytes(), kMaxPendingTail + noise.size());
  }
  // The noise ends at the next terminator; the message after it is whole.
  EXPECT_EQ(framer.Feed("tail of noise~IMEI:860000000000001~"), "IMEI:860000000000001~");
  EXPECT_EQ(framer.PendingBytes(), 0u);
}

TEST(ByteFramer, tailJustUnderTheCapIsKept) {
  CByteFramer framer;
  const std::string longValue(kMaxPendingTail - 10, 'a');
  EXPECT_EQ(framer.Feed("GPS_R:" + longValue), "");
  EXPECT_EQ(framer.Feed("~"), "GPS_R:" + longValue + "~");
}

TEST(MessageCutter, endlessTextWithoutTerminatorStaysBoundedAndResynchronises) {
  CMessageCutter cutter;
  std::string message;
  cutter.Append("A:1~");
  const std::string noise(4096, 'x');
  for (int i = 0; i < 2560; ++i) {
    cutter.Append(noise);
    ASSERT_LE(cutter.Pending().size(), kMaxPendingTail + noise.size());
  }
  ASSERT_TRUE(cutter.Next(message));
  EXPECT_EQ(message, "A:1");
  EXPECT_FALSE(cutter.Next(message));
  cutter.Append("noise~B:2~");
  ASSERT_TRUE(cutter.Next(message));
  EXPECT_EQ(message, "B:2");
  EXPECT_FALSE(cutter.Next(message));
  EXPECT_EQ(cutter.Pending(), "");
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

TEST(StringQueue, takeAllEmptiesItOldestFirst) {
  CStringQueue queue;
  std::vector<std::string> taken;
  EXPECT_FALSE(queue.TakeAll(taken));
  queue.AddHead("first");
  queue.AddHead("second");
  queue.AddHead("third");
  ASSERT_TRUE(queue.TakeAll(taken));
  EXPECT_EQ(taken, (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_TRUE(queue.IsEmpty());
}

}  // namespace
}  // namespace tolvane
