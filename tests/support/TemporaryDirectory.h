#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace tolvane::testing {

// A directory of the test's own, removed with everything in it.
class CTemporaryDirectory {
 public:
  CTemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvane-XXXXXX").string();
    if (::mkdtemp(pattern.data())) m_path = pattern;
  }
  ~CTemporaryDirectory() {
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  }
  CTemporaryDirectory(const CTemporaryDirectory&) = delete;
  CTemporaryDirectory& operator=(const CTemporaryDirectory&) = delete;

  std::string FilePath(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

}  // namespace tolvane::testing
