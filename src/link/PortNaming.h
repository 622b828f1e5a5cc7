#pragma once

#include <string>
#include <vector>

#include "link/IPort.h"

namespace tolvane {

// One serial device the system offers, with the COM number it is shown under.
struct CPortEntry {
  int number = 0;               // COM number
  std::string device;           // short name, e.g. "ttyUSB0" or "ttySIM0"
  std::string path;             // what to open, e.g. "/dev/ttyUSB0" or "/dev/pts/3"
  std::string Caption() const;  // "COM33 (ttyUSB0)"
};

// Serial device names get COM numbers from fixed ranges, so a device keeps its number whatever
// else is plugged in: ttyS<k> is COM<k+1>, ttyUSB<k> COM<33+k>, ttyACM<k> COM<65+k>, the other
// UART drivers follow up to COM199, and the simulated ttySIM<k> is COM<200+k>.
// Returns 0 for a name outside every range.
int ComNumberForDevice(const std::string& deviceName);

// "COM33 (ttyUSB0)", or "COM3" for a port without a device name. The digits follow "COM" directly,
// so atoi on the text after the first three characters gives the number back.
std::string PortCaption(int number, const std::string& deviceName);

// The device of a caption: "ttyUSB0" for "COM33 (ttyUSB0)"; empty when there is none.
std::string DeviceOfCaption(const std::string& caption);

// What a device is remembered by across runs: its USB serial number where it has one (names move
// between plug-ins), else its device name.
std::string RememberKey(const CPortIdentity& identity, const std::string& deviceName);

// Drops unnumbered entries and orders the rest by number. Where two entries share a number the
// one with the smaller device name, then path, stays, so the outcome never depends on input order.
std::vector<CPortEntry> OrderPortEntries(std::vector<CPortEntry> entries);

// The entry a user most likely means: a USB-serial bridge, then a USB modem-class port, then a
// simulated device. nullptr when none stands out (a PC's own ttyS ports mostly have nothing behind
// them).
const CPortEntry* LikelyDevice(const std::vector<CPortEntry>& entries);

// Slots of simulated devices: ttySIM0 .. ttySIM<kSimulatedSlotCount - 1>.
inline constexpr int kSimulatedSlotCount = 100;
inline constexpr char kSimulatedDevicePrefix[] = "ttySIM";

}  // namespace tolvane
