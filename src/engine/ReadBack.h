#pragma once

#include <optional>

#include "engine/ImeiSource.h"
#include "engine/Profile.h"
#include "engine/ProvisionReport.h"

namespace tolvane {

// What the device reports of itself once the steps are done, held against what it answered ok to:
// a step "Verify", OK or FAIL, naming both values where they differ. The new IMEI is the exception
// the device announces itself: it takes effect after a restart, so the old IMEI still reported is
// not a fault. Nothing when no step wrote something the device reports, or it was not read back.
std::optional<CStepResult> VerifyReadBack(const CProfile& written, const CDeviceReport& report);

// What became of the device's IMEI, for the pool's record.
CSettlement SettlementOf(const CDeviceReport& report);

}  // namespace tolvane
