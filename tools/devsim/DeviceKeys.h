#pragma once

#include "DeviceModel.h"

namespace tolvane::devsim {

// The keys the simulated intercom answers, one group per file. A new group gets a function
// here, a file of its own, and a call in AddDeviceKeys.

// "COM": the link announcement.
void AddLinkKeys(CDeviceModel& model);

// "IMEI", "IP", "HOST", "ACCOUNT", "CUSTOMER_PW", "APN", "APN_RESET", "LANGUAGE", "NETWORK_TYPE",
// "FACTORY_RESET": the intercom app's settings.
void AddSettingsKeys(CDeviceModel& model);
// What the app says of itself once the PC has opened the link.
void ReportSettings(const CDeviceState& state, CDeviceResponse& response);

inline void AddDeviceKeys(CDeviceModel& model) {
  AddLinkKeys(model);
  AddSettingsKeys(model);
}

}  // namespace tolvane::devsim
