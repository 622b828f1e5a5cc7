// A file saved in pieces takes its target's place whole, or not at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TemporaryDirectory.h"
#include "posix/PosixFileSystem.h"

namespace tolvane::testing {
namespace {

std::string Text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(PosixFileSystem, aFileSavedInPiecesReplacesItsTargetOnlyOnceKept_andKeepsItsMode) {
  CTemporaryDirectory directory;
  const std::string path = directory.FilePath("record.csv");
  CPosixFileSystem files;
  std::string reason;
  ASSERT_TRUE(files.SaveWhole(path, "old\n", reason)) << reason;
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

  // More than one flush's worth, in pieces of many sizes.
  std::string expected;
  {
    const auto dropped = files.SaveInPieces(path, reason);
    ASSERT_TRUE(dropped) << reason;
    ASSERT_TRUE(dropped->Write(std::string(200000, 'x'), reason)) << reason;
  }
  auto file = files.SaveInPieces(path, reason);
  ASSERT_TRUE(file) << reason;
  for (int n = 0; n < 20000; ++n) {
    const std::string piece = std::to_string(n) + std::string(static_cast<std::size_t>(n % 7), ',') + "\r\n";
    expected += piece;
    ASSERT_TRUE(file->Write(piece, reason)) << reason;
  }
  EXPECT_EQ(Text(path), "old\n");
  ASSERT_TRUE(file->Keep(reason)) << reason;
  EXPECT_EQ(Text(path), expected);

  struct stat kept {};
  ASSERT_EQ(::stat(path.c_str(), &kept), 0);
  EXPECT_EQ(kept.st_mode & 07777, 0640u);
  // The dropped file left nothing behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace tolvane::testing
