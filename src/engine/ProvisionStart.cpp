#include "engine/ProvisionStart.h"

#include "engine/ImeiListSource.h"
#include "engine/ProvisionReport.h"

namespace tolvane {

std::optional<CProvisionStart> PrepareProvision(const CProvisionOptions& options, IFileSystem& files,
                                                const PoolSourceOpener& openPool, std::string& error, int& status) {
  const auto refuse = [&status](int why) -> std::optional<CProvisionStart> {
    status = why;
    return std::nullopt;
  };
  std::optional<CProfile> profile = ReadProfile(options.profilePath, error);
  if (!profile) return refuse(kExitProfile);
  if (options.imei) profile->imei = options.imei;
  if (profile->factoryReset && !options.yes && !options.dryRun) {
    error = options.profilePath + " asks for a factory reset: add --yes to confirm it";
    return refuse(kExitUsage);
  }
  if (profile->imei && options.comNumbers.size() > 1 && options.imeiListPath.empty() && options.poolAddress.empty()) {
    error = options.profilePath +
            " holds one imei, which would go into every device: take them from --imei-list or --pool instead";
    return refuse(kExitUsage);
  }
  CProvisionStart start{std::move(*profile), nullptr};
  if (!options.imeiListPath.empty()) {
    std::optional<CImeiList> list = CImeiList::Read(options.imeiListPath, files, error);
    if (!list) return refuse(kExitProfile);
    start.imeis = std::make_unique<CImeiListSource>(std::move(*list), options.imeiListPath);
  } else if (!options.poolAddress.empty()) {
    start.imeis = openPool(options, error, status);
    if (!start.imeis) return std::nullopt;
  }
  return start;
}

}  // namespace tolvane
