#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <thread>

#include "TemporaryDirectory.h"
#include "engine/ImeiList.h"
#include "PlatformFileSystem.h"

namespace tolvane::testing {
namespace {

class ImeiListTest : public ::testing::Test {
 protected:
  std::optional<CImeiList> Read(const std::string& text) {
    std::ofstream(path) << text;
    error.clear();
    return CImeiList::Read(path, *files, error);
  }
  std::string DoneText() const {
    std::ifstream in(path + ".done");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  CTemporaryDirectory directory;
  std::string path = directory.FilePath("imeis.txt");
  std::unique_ptr<IFileSystem> files = NewPlatformFileSystem();
  std::string error;
};

TEST_F(ImeiListTest, anInterruptedBatchResumesWithTheFirstImeiNotRecordedAsUsed) {
  auto list = Read("# box 7\n860000000000001\n  860000000000002  \n\n860000000000003\n");
  ASSERT_TRUE(list) << error;
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->NextUnused(), "860000000000001");
  std::string imei;
  ASSERT_EQ(list->Claim("COM200 (ttySIM0)", imei, error), CImeiList::EClaim::Taken) << error;
  EXPECT_EQ(imei, "860000000000001");
  ASSERT_EQ(list->Claim("COM200 (ttySIM0)", imei, error), CImeiList::EClaim::Taken) << error;
  EXPECT_EQ(DoneText(), "860000000000001  COM200 (ttySIM0)\n860000000000002  COM200 (ttySIM0)\n");

  // The next session reads what the last one recorded.
  list = Read("# box 7\n860000000000001\n860000000000002\n860000000000003\n");
  ASSERT_TRUE(list) << error;
  EXPECT_EQ(list->UsedCount(), 2);
  EXPECT_EQ(list->NextUnused(), "860000000000003");
  ASSERT_EQ(list->Claim("", imei, error), CImeiList::EClaim::Taken);
  EXPECT_EQ(list->Claim("", imei, error), CImeiList::EClaim::UsedUp);
  EXPECT_FALSE(list->NextUnused());
}

TEST_F(ImeiListTest, runsSharingTheListNeverTakeOneImeiTwice) {
  std::string text;
  for (int n = 10; n < 70; ++n) text += "8600000000000" + std::to_string(n) + "\n";
  ASSERT_TRUE(Read(text));
  // Each run reads the list once at its start, as a real run does; the claims race.
  std::vector<std::vector<std::string>> taken(4);
  std::vector<std::thread> runs;
  for (auto& mine : taken)
    runs.emplace_back([&, this] {
      std::string ignored;
      auto list = CImeiList::Read(path, *files, ignored);
      std::string imei;
      while (list->Claim("run", imei, ignored) == CImeiList::EClaim::Taken) mine.push_back(imei);
    });
  for (auto& run : runs) run.join();
  std::multiset<std::string> all;
  for (const auto& mine : taken) all.insert(mine.begin(), mine.end());
  EXPECT_EQ(all.size(), 60u);
  EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), 60u);
  const std::string done = DoneText();
  EXPECT_EQ(std::count(done.begin(), done.end(), '\n'), 60);
}

TEST_F(ImeiListTest, aListLockedByAnotherRunTooLong_takesNothingAndSaysWhy) {
  auto list = Read("860000000000001\n");
  ASSERT_TRUE(list);
  const auto other = files->Lock(path + ".done.lock", 0, error);
  ASSERT_TRUE(other) << error;
  std::string imei;
  EXPECT_EQ(list->Claim("", imei, error, 100), CImeiList::EClaim::Failed);
  EXPECT_NE(error.find("another run held the lock"), std::string::npos) << error;
  EXPECT_EQ(DoneText(), "");
}

TEST_F(ImeiListTest, aLineThatIsNoImeiOrAnImeiListedTwice_isRefusedWithItsLine) {
  EXPECT_FALSE(Read("860000000000001\n86000000000000\n"));
  EXPECT_EQ(error, path + ":2: \"86000000000000\" is not an IMEI of 15 digits");
  EXPECT_FALSE(Read("860000000000001\n86000000000000x\n"));
  EXPECT_EQ(error, path + ":2: \"86000000000000x\" is not an IMEI of 15 digits");
  EXPECT_FALSE(Read("860000000000001\n\n860000000000001\n"));
  EXPECT_EQ(error, path + ":3: 860000000000001 is listed twice (first on line 1)");
}

TEST_F(ImeiListTest, aDoneFileThatCannotBeWritten_keepsTheImeiUnused) {
  auto list = Read("860000000000001\n");
  ASSERT_TRUE(list);
  ASSERT_TRUE(std::filesystem::create_directory(path + ".done"));
  std::string imei;
  EXPECT_EQ(list->Claim("", imei, error), CImeiList::EClaim::Failed);
  EXPECT_NE(error.find("cannot record 860000000000001"), std::string::npos) << error;
  EXPECT_EQ(list->NextUnused(), "860000000000001");
}

// A report is replaced whole or not at all: a save that cannot be made leaves the old one.
using PlatformFiles = ImeiListTest;

TEST_F(PlatformFiles, aSavedFileIsReplacedWholeAndAFailedSaveLeavesTheOld) {
  const std::string report = directory.FilePath("report.json");
  ASSERT_TRUE(files->SaveWhole(report, "first", error)) << error;
  ASSERT_TRUE(files->SaveWhole(report, "second, longer", error)) << error;
  std::ifstream in(report);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "second, longer");
  EXPECT_FALSE(files->SaveWhole(directory.FilePath("missing/report.json"), "x", error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.FilePath("")),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace tolvane::testing
