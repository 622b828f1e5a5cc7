// The platform's own IFileSystem, which the engine's file tests hold to one contract: the POSIX one
// on Linux, the Win32 one under Wine.
#pragma once

#include <memory>

#include "engine/IFileSystem.h"

namespace tolvane::testing {

std::unique_ptr<IFileSystem> NewPlatformFileSystem();

}  // namespace tolvane::testing
