#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "link/PortNaming.h"

namespace tolvane {
namespace {

// Every name that gets a number, with its number, gathered by trying plausible indices.
std::map<int, std::string> AllNumberedNames() {
  const char* prefixes[] = {"ttyS",   "ttyUSB", "ttyACM", "ttyAMA", "ttyO",  "ttymxc", "ttySAC", "ttyTHS",
                            "ttyMSM", "ttyHS",  "ttyPS",  "ttyLP",  "ttySC", "ttyGS",  "rfcomm", "ttySIM"};
  std::map<int, std::string> byNumber;
  for (const char* prefix : prefixes) {
    for (int index = 0; index < 200; ++index) {
      const std::string name = prefix + std::to_string(index);
      const int number = ComNumberForDevice(name);
      if (number == 0) continue;
      const auto [it, inserted] = byNumber.emplace(number, name);
      EXPECT_TRUE(inserted) << name << " and " << it->second << " share COM" << number;
    }
  }
  return byNumber;
}

TEST(ComNumberForDevice, fixedRangesPerDriver) {
  EXPECT_EQ(ComNumberForDevice("ttyS0"), 1);
  EXPECT_EQ(ComNumberForDevice("ttyS31"), 32);
  EXPECT_EQ(ComNumberForDevice("ttyUSB0"), 33);
  EXPECT_EQ(ComNumberForDevice("ttyUSB31"), 64);
  EXPECT_EQ(ComNumberForDevice("ttyACM0"), 65);
  EXPECT_EQ(ComNumberForDevice("ttyACM31"), 96);
  EXPECT_EQ(ComNumberForDevice("ttySIM0"), 200);
  EXPECT_EQ(ComNumberForDevice("ttySIM7"), 207);
}

TEST(ComNumberForDevice, otherUartDriversFallBetweenAcmAndSimulated) {
  for (const char* name : {"ttyAMA0", "ttyO2", "ttymxc1", "ttySAC0", "ttyTHS2", "ttyMSM0", "ttyHS1", "ttyPS0", "ttyLP0",
                           "ttySC0", "ttyGS0", "rfcomm0", "rfcomm14"}) {
    const int number = ComNumberForDevice(name);
    EXPECT_GE(number, 97) << name;
    EXPECT_LE(number, 199) << name;
  }
}

TEST(ComNumberForDevice, indexBeyondItsRangeIsNotNumbered) {
  EXPECT_EQ(ComNumberForDevice("ttyS32"), 0);
  EXPECT_EQ(ComNumberForDevice("ttyUSB32"), 0);
  EXPECT_EQ(ComNumberForDevice("ttyACM32"), 0);
  EXPECT_EQ(ComNumberForDevice("ttySIM100"), 0);
}

TEST(ComNumberForDevice, namesThatAreNotSerialDevicesGiveZero) {
  for (const char* name : {"", "ttyS", "tty0", "tty1", "console", "ptmx", "pts/3", "ttyUSB", "ttyS-1", "ttyS+1",
                           "ttyS1a", "ttyUSB 0", "/dev/ttyUSB0", "ttyusb0", "TTYS0", "ttyXYZ0"})
    EXPECT_EQ(ComNumberForDevice(name), 0) << '"' << name << '"';
}

TEST(ComNumberForDevice, leadingZeroWouldAliasAnotherNameSoIsRefused) {
  EXPECT_EQ(ComNumberForDevice("ttyS01"), 0);
  EXPECT_EQ(ComNumberForDevice("ttyUSB00"), 0);
  EXPECT_EQ(ComNumberForDevice("ttyS0"), 1);
}

TEST(ComNumberForDevice, everyNumberBelongsToOneNameOnly) {
  // Overlapping prefixes ("ttyS", "ttySAC", "ttySC", "ttySIM") must not share numbers either.
  const std::map<int, std::string> byNumber = AllNumberedNames();
  ASSERT_FALSE(byNumber.empty());
  EXPECT_GE(byNumber.begin()->first, 1);
  // The logic keeps port numbers in 16 bits.
  EXPECT_LE(byNumber.rbegin()->first, 32767);
}

TEST(ComNumberForDevice, numbersFollowDriverThenIndex) {
  const std::vector<std::string> ascending = {"ttyS0",   "ttyS1",   "ttyS31",  "ttyUSB0", "ttyUSB1", "ttyACM0",
                                              "ttyAMA0", "ttyAMA1", "rfcomm0", "ttySIM0", "ttySIM1"};
  for (std::size_t i = 1; i < ascending.size(); ++i)
    EXPECT_LT(ComNumberForDevice(ascending[i - 1]), ComNumberForDevice(ascending[i]))
        << ascending[i - 1] << " before " << ascending[i];
}

TEST(PortCaption, readsComNumberThenDevice) {
  EXPECT_EQ(PortCaption(33, "ttyUSB0"), "COM33 (ttyUSB0)");
  EXPECT_EQ((CPortEntry{200, "ttySIM0", "/dev/pts/4"}.Caption()), "COM200 (ttySIM0)");
}

TEST(PortCaption, atoiAfterTheFirstThreeCharactersGivesTheNumberBack) {
  for (const auto& [number, name] : AllNumberedNames()) {
    const std::string caption = PortCaption(number, name);
    ASSERT_GE(caption.size(), 3u);
    EXPECT_EQ(std::atoi(caption.c_str() + 3), number) << caption;
  }
}

TEST(OrderPortEntries, sortsByNumberNotByText) {
  const std::vector<CPortEntry> ordered = OrderPortEntries({{200, "ttySIM0", "/dev/pts/2"},
                                                            {33, "ttyUSB0", "/dev/ttyUSB0"},
                                                            {2, "ttyS1", "/dev/ttyS1"},
                                                            {10, "ttyS9", "/dev/ttyS9"}});
  std::vector<int> numbers;
  for (const CPortEntry& entry : ordered) numbers.push_back(entry.number);
  EXPECT_EQ(numbers, (std::vector<int>{2, 10, 33, 200}));
}

TEST(OrderPortEntries, dropsUnnumberedEntries) {
  const std::vector<CPortEntry> ordered =
      OrderPortEntries({{0, "ttyXYZ0", "/dev/ttyXYZ0"}, {1, "ttyS0", "/dev/ttyS0"}});
  ASSERT_EQ(ordered.size(), 1u);
  EXPECT_EQ(ordered[0].device, "ttyS0");
}

TEST(OrderPortEntries, duplicateNumberKeepsTheSameEntryWhateverTheInputOrder) {
  const CPortEntry first{33, "ttyUSB0", "/dev/ttyUSB0"};
  const CPortEntry second{33, "ttyUSB0", "/dev/serial/by-id/usb-adapter"};
  const std::vector<CPortEntry> one = OrderPortEntries({first, second});
  const std::vector<CPortEntry> other = OrderPortEntries({second, first});
  ASSERT_EQ(one.size(), 1u);
  ASSERT_EQ(other.size(), 1u);
  EXPECT_EQ(one[0].path, other[0].path);
}

TEST(LikelyDevice, prefersABridgeOverAModemPortOverASimulatorAndNeverABarePort) {
  const CPortEntry bare{1, "ttyS0", "/dev/ttyS0"}, acm{65, "ttyACM0", "/dev/ttyACM0"},
      usb{34, "ttyUSB1", "/dev/ttyUSB1"}, sim{200, "ttySIM0", "/dev/pts/3"};
  EXPECT_EQ(LikelyDevice({bare, sim, acm, usb})->device, "ttyUSB1");
  EXPECT_EQ(LikelyDevice({bare, sim, acm})->device, "ttyACM0");
  EXPECT_EQ(LikelyDevice({bare, sim})->device, "ttySIM0");
  EXPECT_EQ(LikelyDevice({bare}), nullptr);
  EXPECT_EQ(LikelyDevice({}), nullptr);
}

}  // namespace
}  // namespace tolvane
