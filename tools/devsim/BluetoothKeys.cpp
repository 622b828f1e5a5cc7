#include "DeviceKeys.h"
#include "DeviceWire.h"

namespace tolvane::devsim {

namespace {

std::string Row(const CBluetoothDevice& device) {
  return "BT_L:" + device.strName + "^" + device.strAddress + "^" + (device.bPaired ? "P" : "N");
}

// A search finds every device around, paired ones included.
void ReportSearch(const CBluetoothState& bluetooth, CDeviceResponse& response) {
  for (const CBluetoothDevice& device : bluetooth.devices) response.replies.push_back(Row(device));
}

CBluetoothDevice* FindDevice(CBluetoothState& bluetooth, const std::string& address) {
  for (CBluetoothDevice& device : bluetooth.devices)
    if (device.strAddress == address) return &device;
  return nullptr;
}

// "address^pair^PIN" or "address^unpair": the result, then the device's row as it now stands.
void PairOrUnpair(const std::string& value, const std::string& pin, CBluetoothState& bluetooth,
                  CDeviceResponse& response) {
  std::string rest, typedPin;
  const std::string address = FieldBefore(value, rest);
  const std::string action = FieldBefore(rest, typedPin);
  if (action != "pair" && action != "unpair") {
    response.notes.push_back("ignored BT:" + value);
    return;
  }
  CBluetoothDevice* device = FindDevice(bluetooth, address);
  const bool pair = action == "pair";
  const bool ok = bluetooth.bOn && device && (!pair || typedPin == pin);
  if (ok) device->bPaired = pair;
  response.replies.push_back("BT_P:" + address + "^" + action + (ok ? "_ok" : "_fail"));
  if (device) response.replies.push_back(Row(*device));
  response.notes.push_back(action + (ok ? "ed " : " failed for ") + (device ? device->strName : address) +
                           (!bluetooth.bOn ? " (Bluetooth is off)" : ""));
}

}  // namespace

void AddBluetoothKeys(CDeviceModel& model, const std::string& pin) {
  model.AddKey("BT", [pin](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    CBluetoothState& bluetooth = state.radios.bluetooth;
    if (value == "open") {
      bluetooth.bOn = true;
      response.replies.push_back("BT:open");
      response.notes.push_back("Bluetooth on");
      ReportSearch(bluetooth, response);
    } else if (value == "close") {
      bluetooth.bOn = false;
      response.replies.push_back("BT:close");
      response.notes.push_back("Bluetooth off");
    } else if (value == "research") {
      if (bluetooth.bOn)
        ReportSearch(bluetooth, response);
      else
        response.notes.push_back("no search: Bluetooth is off");
    } else {
      PairOrUnpair(value, pin, bluetooth, response);
    }
  });
}

}  // namespace tolvane::devsim
