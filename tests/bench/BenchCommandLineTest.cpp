// The bench's command line: tolvane-provision's batch options under the bench's own name, always
// waiting, a slot per --port, and the bench's own --label and --language.
#include <gtest/gtest.h>

#include "bench/BenchCommandLine.h"

namespace tolvane::testing {
namespace {

CBenchCommandLine Parse(const std::vector<std::string>& arguments) {
  return ParseBenchCommandLine(arguments, "bench-1", "tolvane-bench");
}

TEST(BenchCommandLine, takesTheBatchOptions_alwaysWaits_andItsOwnLabelAndLanguage) {
  const CBenchCommandLine line = Parse({"--profile", "dealer.ini", "--pool", "pool.db", "--port", "COM33", "--port",
                                        "ttyUSB1", "--label", "--language", "zh_CN", "--station=line-2"});
  ASSERT_EQ(line.action, CProvisionCommandLine::EAction::Run) << line.text;
  EXPECT_TRUE(line.options.wait);
  EXPECT_EQ(line.options.comNumbers, (std::vector<int>{33, 34}));
  EXPECT_EQ(line.options.station, "line-2");
  EXPECT_TRUE(line.labels);
  EXPECT_EQ(line.language, TextLanguage::Chinese);
  EXPECT_EQ(Parse({"--profile", "p.ini", "--imei-list", "i.txt", "--port", "COM1", "--wait"}).options.station,
            "bench-1");
}

TEST(BenchCommandLine, refusesWhatABenchCannotDo_underItsOwnName) {
  struct CCase {
    std::vector<std::string> arguments;
    std::string message;
  };
  const CCase cases[] = {
      {{"--profile", "p.ini", "--pool", "pool.db"}, "--port is missing: give it once for each slot"},
      {{"--profile", "p.ini", "--port", "COM1"}, "--imei-list or --pool is missing"},
      {{"--profile", "p.ini", "--port", "COM1", "--imei", "1"},
       "--imei is tolvane-provision's; the bench takes --imei-list or --pool"},
      {{"--profile", "p.ini", "--pool", "pool.db", "--port", "COM1", "--language", "fr"},
       "--language takes en_US or zh_CN"},
      {{"--pool", "pool.db", "--port", "COM1"}, "--profile is missing"},
  };
  for (const CCase& c : cases) {
    const CBenchCommandLine line = Parse(c.arguments);
    EXPECT_EQ(line.action, CProvisionCommandLine::EAction::Refuse);
    EXPECT_EQ(line.exitStatus, 2);
    EXPECT_EQ(line.text, "tolvane-bench: " + c.message + "\nTry tolvane-bench --help.");
  }
  EXPECT_EQ(Parse({"--help"}).text.rfind("Usage: tolvane-bench ", 0), 0u);
}

}  // namespace
}  // namespace tolvane::testing
