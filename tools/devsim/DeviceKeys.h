#pragma once

#include "DeviceModel.h"

namespace tolvane::devsim {

// The keys the simulated intercom answers, one group per file. A new group gets a function
// here, a file of its own, and a call in AddDeviceKeys.

// "COM": the link announcement.
void AddLinkKeys(CDeviceModel& model);

inline void AddDeviceKeys(CDeviceModel& model) { AddLinkKeys(model); }

}  // namespace tolvane::devsim
