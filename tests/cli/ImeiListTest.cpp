#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "cli/ImeiList.h"

namespace tolvane::testing {
namespace {

class ImeiListTest : public ::testing::Test {
 protected:
  std::optional<CImeiList> Read(const std::string& text) {
    std::ofstream(path) << text;
    error.clear();
    return CImeiList::Read(path, error);
  }
  std::string DoneText() const {
    std::ifstream in(path + ".done");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  QTemporaryDir directory;
  std::string path = directory.filePath(QStringLiteral("imeis.txt")).toStdString();
  std::string error;
};

TEST_F(ImeiListTest, anInterruptedBatchResumesWithTheFirstImeiNotRecordedAsUsed) {
  auto list = Read("# box 7\n860000000000001\n  860000000000002  \n\n860000000000003\n");
  ASSERT_TRUE(list) << error;
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->NextUnused(), "860000000000001");
  ASSERT_TRUE(list->MarkUsed("860000000000001", "COM200 (ttySIM0)", error)) << error;
  ASSERT_TRUE(list->MarkUsed("860000000000002", "COM200 (ttySIM0)", error)) << error;
  EXPECT_EQ(DoneText(), "860000000000001  COM200 (ttySIM0)\n860000000000002  COM200 (ttySIM0)\n");

  // The next session reads what the last one recorded.
  list = Read("# box 7\n860000000000001\n860000000000002\n860000000000003\n");
  ASSERT_TRUE(list) << error;
  EXPECT_EQ(list->UsedCount(), 2);
  EXPECT_EQ(list->NextUnused(), "860000000000003");
  ASSERT_TRUE(list->MarkUsed("860000000000003", "", error));
  EXPECT_FALSE(list->NextUnused());
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
  ASSERT_TRUE(QDir(directory.path()).mkdir(QStringLiteral("imeis.txt.done")));
  EXPECT_FALSE(list->MarkUsed("860000000000001", "", error));
  EXPECT_NE(error.find("cannot record 860000000000001"), std::string::npos) << error;
  EXPECT_EQ(list->NextUnused(), "860000000000001");
}

}  // namespace
}  // namespace tolvane::testing
