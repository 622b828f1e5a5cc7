#include "link/PortNaming.h"

#include <algorithm>
#include <string_view>
#include <tuple>

namespace tolvane {

namespace {

struct CNumberRange {
  std::string_view prefix;
  int first;  // COM number of index 0
  int count;
};

// Never reorder or resize a range: users remember their device's number.
constexpr CNumberRange kRanges[] = {
    {"ttyS", 1, 32},      // on-board UARTs
    {"ttyUSB", 33, 32},   // USB serial converters
    {"ttyACM", 65, 32},   // USB CDC modems and gadgets
    {"ttyAMA", 97, 8},    // ARM PL011
    {"ttyO", 105, 8},     // TI OMAP
    {"ttymxc", 113, 8},   // NXP i.MX
    {"ttySAC", 121, 8},   // Samsung
    {"ttyTHS", 129, 8},   // NVIDIA Tegra
    {"ttyMSM", 137, 8},   // Qualcomm
    {"ttyHS", 145, 8},    // high-speed UARTs
    {"ttyPS", 153, 8},    // Xilinx Zynq
    {"ttyLP", 161, 8},    // NXP LPUART
    {"ttySC", 169, 8},    // SC16IS7xx bridges
    {"ttyGS", 177, 8},    // USB gadget serial
    {"rfcomm", 185, 15},  // Bluetooth serial
    {kSimulatedDevicePrefix, 200, kSimulatedSlotCount},
};

// The index of "<prefix><index>"; -1 unless the rest is a plain decimal number (no sign, no
// leading zero), so that no two names share an index.
int IndexAfterPrefix(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return -1;
  const std::string_view digits = name.substr(prefix.size());
  if (digits.size() > 3 || (digits.size() > 1 && digits.front() == '0')) return -1;
  int index = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    index = index * 10 + (c - '0');
  }
  return index;
}

}  // namespace

int ComNumberForDevice(const std::string& deviceName) {
  // Prefixes overlap ("ttyS" and "ttySAC"); only the one followed by digits alone fits.
  for (const CNumberRange& range : kRanges) {
    const int index = IndexAfterPrefix(deviceName, range.prefix);
    if (index >= 0 && index < range.count) return range.first + index;
  }
  return 0;
}

std::string PortCaption(int number, const std::string& deviceName) {
  // Windows names a port by its number alone.
  if (deviceName.empty()) return "COM" + std::to_string(number);
  return "COM" + std::to_string(number) + " (" + deviceName + ")";
}

std::string DeviceOfCaption(const std::string& caption) {
  const std::size_t open = caption.find(" (");
  if (open == std::string::npos || !caption.ends_with(')')) return {};
  return caption.substr(open + 2, caption.size() - open - 3);
}

std::string RememberKey(const CPortIdentity& identity, const std::string& deviceName) {
  if (!identity.serialNumber.empty()) return "usb:" + identity.usbId + ":" + identity.serialNumber;
  return deviceName.empty() ? std::string() : "device:" + deviceName;
}

std::string CPortEntry::Caption() const { return PortCaption(number, device); }

std::vector<CPortEntry> OrderPortEntries(std::vector<CPortEntry> entries) {
  std::erase_if(entries, [](const CPortEntry& entry) { return entry.number <= 0; });
  std::sort(entries.begin(), entries.end(), [](const CPortEntry& a, const CPortEntry& b) {
    return std::tie(a.number, a.device, a.path) < std::tie(b.number, b.device, b.path);
  });
  const auto duplicate = std::unique(entries.begin(), entries.end(),
                                     [](const CPortEntry& a, const CPortEntry& b) { return a.number == b.number; });
  entries.erase(duplicate, entries.end());
  return entries;
}

const CPortEntry* LikelyDevice(const std::vector<CPortEntry>& entries) {
  for (const std::string_view kind :
       {std::string_view("ttyUSB"), std::string_view("ttyACM"), std::string_view(kSimulatedDevicePrefix)})
    for (const CPortEntry& entry : entries)
      if (entry.device.starts_with(kind)) return &entry;
  return nullptr;
}

}  // namespace tolvane
