#pragma once

#include "engine/IFileSystem.h"

namespace tolvane::win32 {

// The engine's files on Windows: LockFileEx for an IMEI list's lock, FlushFileBuffers for its
// durable record, and a report written beside its place and moved over it.
class CWin32FileSystem : public IFileSystem {
 public:
  std::unique_ptr<IHeldLock> Lock(const std::string& path, int waitMs, std::string& errorText) override;
  bool AppendDurably(const std::string& path, const std::string& text, std::string& reason) override;
  bool SaveWhole(const std::string& path, const std::string& bytes, std::string& reason) override;
};

}  // namespace tolvane::win32
