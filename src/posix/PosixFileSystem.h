#pragma once

#include "engine/IFileSystem.h"

namespace tolvane {

// The engine's files on POSIX: flock, fsync, and a save by rename.
class CPosixFileSystem : public IFileSystem {
 public:
  std::unique_ptr<IHeldLock> Lock(const std::string& path, int waitMs, std::string& errorText) override;
  bool AppendDurably(const std::string& path, const std::string& text, std::string& reason) override;
  bool SaveWhole(const std::string& path, const std::string& bytes, std::string& reason) override;
  std::unique_ptr<IWholeFile> SaveInPieces(const std::string& path, std::string& reason) override;
};

}  // namespace tolvane
