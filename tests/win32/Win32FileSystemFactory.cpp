#include "PlatformFileSystem.h"
#include "win32/provision/Win32FileSystem.h"

namespace tolvane::testing {

std::unique_ptr<IFileSystem> NewPlatformFileSystem() { return std::make_unique<win32::CWin32FileSystem>(); }

}  // namespace tolvane::testing
