#include "PlatformFileSystem.h"
#include "posix/PosixFileSystem.h"

namespace tolvane::testing {

std::unique_ptr<IFileSystem> NewPlatformFileSystem() { return std::make_unique<CPosixFileSystem>(); }

}  // namespace tolvane::testing
