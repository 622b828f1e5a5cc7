#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace tolvane::testing {

// A directory of the test's own, removed with everything in it.
class CTemporaryDirectory {
 public:
  CTemporaryDirectory() {
    // A name nobody has, made here: creating it fails for a name taken meanwhile.
    std::random_device seed;
    std::error_code error;
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
      const std::filesystem::path candidate =
          std::filesystem::temp_directory_path() / ("tolvane-" + std::to_string(seed()));
      if (std::filesystem::create_directory(candidate, error)) m_path = candidate.generic_string();
    }
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
