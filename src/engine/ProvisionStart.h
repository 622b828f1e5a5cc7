#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/IFileSystem.h"
#include "engine/ImeiSource.h"
#include "engine/Profile.h"
#include "engine/ProvisionOptions.h"

namespace tolvane {

// What a run starts from: the profile, with the command line's IMEI in it, and where the IMEIs
// come from (nothing when the profile fixes its own or has none).
struct CProvisionStart {
  CProfile profile;
  std::unique_ptr<IImeiSource> imeis;
};

// Opens the pool that --pool names; nothing, with its message and exit status, when it cannot.
using PoolSourceOpener =
    std::function<std::unique_ptr<IImeiSource>(const CProvisionOptions& options, std::string& error, int& status)>;

// Reads the profile and the IMEI list, opens the pool, and refuses what would go wrong on the
// devices: a factory reset not confirmed, one IMEI for several devices. Nothing, with the message
// and the exit status, when the run must not start; nothing has been sent then.
std::optional<CProvisionStart> PrepareProvision(const CProvisionOptions& options, IFileSystem& files,
                                                const PoolSourceOpener& openPool, std::string& error, int& status);

}  // namespace tolvane
