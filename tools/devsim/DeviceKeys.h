#pragma once

#include <set>
#include <string>

#include "DeviceModel.h"
#include "DevsimOptions.h"

namespace tolvane::devsim {

// The keys the simulated intercom answers, one group per file. A new group gets a function
// here, a file of its own, and a call in AddDeviceKeys.

// "COM": the link announcement, followed by the settings named in `reportKeys`.
void AddLinkKeys(CDeviceModel& model, const std::set<std::string>& reportKeys);

// "IMEI", "IP", "HOST", "ACCOUNT", "CUSTOMER_PW", "APN", "APN_RESET", "LANGUAGE", "NETWORK_TYPE",
// "FACTORY_RESET": the intercom app's settings.
void AddSettingsKeys(CDeviceModel& model);
// What the app says of itself once the PC has opened the link.
void ReportSettings(const CDeviceState& state, const std::set<std::string>& keys, CDeviceResponse& response);

// "WiFi", "WiFi_PW": switching, the scan list every few seconds, joining with `password`.
void AddWifiKeys(CDeviceModel& model, const std::string& password);
// "BT": switching, searching, pairing with `pin` and unpairing.
void AddBluetoothKeys(CDeviceModel& model, const std::string& pin);
// "GPS": switching, and NMEA sentences, satellites and status every second while on.
void AddGpsKeys(CDeviceModel& model);

inline void AddDeviceKeys(CDeviceModel& model, const CDevsimOptions& options) {
  AddLinkKeys(model, options.reportKeys);
  AddWifiKeys(model, options.strWifiPassword);
  AddBluetoothKeys(model, options.strBtPin);
  AddGpsKeys(model);
  AddSettingsKeys(model);
}

}  // namespace tolvane::devsim
