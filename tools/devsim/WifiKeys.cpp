#include <algorithm>
#include <iterator>

#include "DeviceKeys.h"
#include "DeviceWire.h"

namespace tolvane::devsim {

namespace {

using namespace std::chrono_literals;

// A scan every few seconds while Wi-Fi is on, as the intercom app reports it.
constexpr auto kScanPeriod = 4s;

// How far each network's level strays from its usual one, scan by scan.
constexpr int kDrift[] = {0, 1, 0, -1, -1, 0, 1, 0};

int LevelAtScan(const CWifiNetwork& network, int scan, int index) {
  const int drift = kDrift[(scan + 3 * index) % static_cast<int>(std::size(kDrift))];
  return std::clamp(network.nLevel + drift, 0, 4);
}

// The list as the app sends it: emptied first, then one row per network; the joined network's
// address comes first so that the PC can mark its row.
void ReportScan(CWifiState& wifi, CDeviceResponse& response) {
  ++wifi.nScans;
  if (!wifi.strJoined.empty()) response.replies.push_back("WiFi_N:" + wifi.strJoined);
  response.replies.push_back("WiFi_L:clean");
  for (std::size_t i = 0; i < wifi.networks.size(); ++i) {
    const CWifiNetwork& network = wifi.networks[i];
    const int level = LevelAtScan(network, wifi.nScans, static_cast<int>(i));
    response.replies.push_back("WiFi_L:" + network.strName + "^" + network.strAddress + "^" + std::to_string(level));
  }
}

const CWifiNetwork* FindNetwork(const CWifiState& wifi, const std::string& address) {
  for (const CWifiNetwork& network : wifi.networks)
    if (network.strAddress == address) return &network;
  return nullptr;
}

}  // namespace

void AddWifiKeys(CDeviceModel& model, const std::string& password) {
  model.AddKey("WiFi", [](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    CWifiState& wifi = state.radios.wifi;
    if (value == "open") {
      wifi.bOn = true;
      response.replies.push_back("WiFi:open");
      response.notes.push_back("Wi-Fi on");
      ReportScan(wifi, response);
    } else if (value == "close") {
      wifi.bOn = false;
      wifi.strJoined.clear();
      response.replies.push_back("WiFi:close");
      response.notes.push_back("Wi-Fi off");
    } else {
      response.notes.push_back("ignored WiFi:" + value);
    }
  });

  model.AddKey("WiFi_PW", [password](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    CWifiState& wifi = state.radios.wifi;
    std::string typed;
    const std::string address = FieldBefore(value, typed);
    const CWifiNetwork* network = FindNetwork(wifi, address);
    if (!wifi.bOn || !network || typed != password) {
      response.notes.push_back(!wifi.bOn  ? "cannot join: Wi-Fi is off"
                               : !network ? "cannot join: no network " + address
                                          : "cannot join " + network->strName + ": wrong password");
      response.replies.push_back("WiFi:connected_fail");
      return;
    }
    wifi.strJoined = address;
    response.notes.push_back("joined " + network->strName);
    response.replies.push_back("WiFi:connected_ok");
    // The list again at once, so the joined network shows as connected.
    ReportScan(wifi, response);
  });

  model.AddTicker(kScanPeriod, [](CDeviceState& state, CDeviceResponse& response) {
    if (state.radios.wifi.bOn) ReportScan(state.radios.wifi, response);
  });
}

}  // namespace tolvane::devsim
