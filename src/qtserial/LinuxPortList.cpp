#include "qtserial/LinuxPortList.h"

#include <sys/stat.h>

#include <QSerialPortInfo>

#include "posix/SimulatedPortRegistry.h"
#include "posix/SysfsUsbIdentity.h"

namespace tolvane {

namespace {

CPortIdentity IdentityOf(const QSerialPortInfo& info) {
  CPortIdentity identity;
  identity.path = info.systemLocation().toStdString();
  // Qt repeats the name where it knows nothing better.
  if (info.description() != info.portName()) identity.description = info.description().toStdString();
  identity.manufacturer = info.manufacturer().toStdString();
  if (info.hasVendorIdentifier() && info.hasProductIdentifier())
    identity.usbId = QStringLiteral("%1:%2")
                         .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                         .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'))
                         .toStdString();
  identity.serialNumber = info.serialNumber().toStdString();
  // Qt asks udev, which knows nothing where no udev daemon runs; the kernel still does.
  CompleteFromSysfs(identity, info.portName().toStdString());
  return identity;
}

}  // namespace

CLinuxPortList::CLinuxPortList(std::string registryDirectory, IDeviceMemory* memory)
    : CPortCatalogue(memory), m_strRegistryDirectory(std::move(registryDirectory)) {}

std::vector<CPortEntry> CLinuxPortList::Discover(std::map<std::string, CPortIdentity>* identities) {
  std::vector<CPortEntry> entries;
  // Qt lists real serial devices only, never pseudo-terminals; those come from the registry.
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const std::string device = info.portName().toStdString();
    entries.push_back({ComNumberForDevice(device), device, info.systemLocation().toStdString()});
    if (identities) (*identities)[device] = IdentityOf(info);
  }
  for (const CSimulatedPort& port : CSimulatedPortRegistry(RegistryDirectory()).List()) {
    entries.push_back({ComNumberForDevice(port.device), port.device, port.path});
    if (identities) (*identities)[port.device] = {port.path, {}, {}, {}, {}, true};
  }
  return OrderPortEntries(std::move(entries));
}

std::string CLinuxPortList::RegistryDirectory() const {
  return m_strRegistryDirectory.empty() ? CSimulatedPortRegistry::DefaultDirectory() : m_strRegistryDirectory;
}

std::string CLinuxPortList::ListingStamp() {
  struct stat devices {};
  if (::stat("/dev", &devices) != 0) return {};
  std::string stamp = std::to_string(devices.st_mtim.tv_sec) + "." + std::to_string(devices.st_mtim.tv_nsec);
  for (const CSimulatedPort& port : CSimulatedPortRegistry(RegistryDirectory()).List())
    stamp += " " + port.device + "=" + port.path;
  return stamp;
}

CPortCatalogue::CListing CLinuxPortList::Enumerate() {
  std::map<std::string, CPortIdentity> byDevice;
  const std::vector<CPortEntry> entries = Discover(&byDevice);
  CListing listing;
  for (const CPortEntry& entry : entries) listing.ports.push_back({entry.Caption(), byDevice[entry.device]});
  if (const CPortEntry* likely = LikelyDevice(entries)) listing.preferred = likely->Caption();
  return listing;
}

std::optional<CPortEntry> CLinuxPortList::FindPort(int number) {
  for (CPortEntry& entry : Discover())
    if (entry.number == number) return std::move(entry);
  return std::nullopt;
}

}  // namespace tolvane
