#include "qt/LinuxPortList.h"

#include <QSerialPortInfo>

#include "qt/DeviceMemory.h"
#include "posix/SimulatedPortRegistry.h"

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
  return identity;
}

}  // namespace

CLinuxPortList::CLinuxPortList(std::string registryDirectory, CDeviceMemory* memory)
    : m_strRegistryDirectory(std::move(registryDirectory)), m_pMemory(memory) {}

std::vector<CPortEntry> CLinuxPortList::Discover(std::map<std::string, CPortIdentity>* identities) {
  std::vector<CPortEntry> entries;
  // Qt lists real serial devices only, never pseudo-terminals; those come from the registry.
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const std::string device = info.portName().toStdString();
    entries.push_back({ComNumberForDevice(device), device, info.systemLocation().toStdString()});
    if (identities) (*identities)[device] = IdentityOf(info);
  }
  const std::string directory =
      m_strRegistryDirectory.empty() ? CSimulatedPortRegistry::DefaultDirectory() : m_strRegistryDirectory;
  for (const CSimulatedPort& port : CSimulatedPortRegistry(directory).List()) {
    entries.push_back({ComNumberForDevice(port.device), port.device, port.path});
    if (identities) (*identities)[port.device] = {port.path, {}, {}, {}, {}, true};
  }
  return OrderPortEntries(std::move(entries));
}

std::vector<std::string> CLinuxPortList::ListPorts() {
  std::map<std::string, CPortIdentity> byDevice;
  const std::vector<CPortEntry> entries = Discover(&byDevice);
  const std::string rememberedKey = m_pMemory ? m_pMemory->Recall() : std::string();
  std::vector<std::string> captions;
  m_identities.clear();
  m_strRemembered.clear();
  for (const CPortEntry& entry : entries) {
    captions.push_back(entry.Caption());
    const CPortIdentity& identity = m_identities[captions.back()] = byDevice[entry.device];
    if (!rememberedKey.empty() && m_strRemembered.empty() && RememberKey(identity, entry.device) == rememberedKey)
      m_strRemembered = captions.back();
  }
  const CPortEntry* likely = LikelyDevice(entries);
  m_strPreferred = likely ? likely->Caption() : std::string();
  return captions;
}

CPortIdentity CLinuxPortList::IdentifyPort(const std::string& caption) {
  const auto found = m_identities.find(caption);
  return found == m_identities.end() ? CPortIdentity{} : found->second;
}

void CLinuxPortList::RememberPort(const std::string& caption) {
  if (!m_pMemory) return;
  const std::string key = RememberKey(IdentifyPort(caption), DeviceOfCaption(caption));
  if (key.empty()) return;
  m_pMemory->Remember(key);
  if (m_identities.count(caption)) m_strRemembered = caption;
}

bool CLinuxPortList::HasRememberedPort() { return m_pMemory && !m_pMemory->Recall().empty(); }

std::optional<CPortEntry> CLinuxPortList::FindPort(int number) {
  for (CPortEntry& entry : Discover())
    if (entry.number == number) return std::move(entry);
  return std::nullopt;
}

}  // namespace tolvane
