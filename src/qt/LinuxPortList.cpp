#include "qt/LinuxPortList.h"

#include <QSerialPortInfo>

#include "qt/SimulatedPortRegistry.h"

namespace tolvane {

CLinuxPortList::CLinuxPortList(std::string registryDirectory) : m_strRegistryDirectory(std::move(registryDirectory)) {}

std::vector<CPortEntry> CLinuxPortList::Discover() {
  std::vector<CPortEntry> entries;
  // Qt lists real serial devices only, never pseudo-terminals; those come from the registry.
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const std::string device = info.portName().toStdString();
    entries.push_back({ComNumberForDevice(device), device, info.systemLocation().toStdString()});
  }
  const std::string directory =
      m_strRegistryDirectory.empty() ? CSimulatedPortRegistry::DefaultDirectory() : m_strRegistryDirectory;
  for (const CSimulatedPort& port : CSimulatedPortRegistry(directory).List())
    entries.push_back({ComNumberForDevice(port.device), port.device, port.path});
  return OrderPortEntries(std::move(entries));
}

std::vector<std::string> CLinuxPortList::ListPorts() {
  const std::vector<CPortEntry> entries = Discover();
  std::vector<std::string> captions;
  for (const CPortEntry& entry : entries) captions.push_back(entry.Caption());
  const CPortEntry* likely = LikelyDevice(entries);
  m_strPreferred = likely ? likely->Caption() : std::string();
  return captions;
}

std::optional<CPortEntry> CLinuxPortList::FindPort(int number) {
  for (CPortEntry& entry : Discover())
    if (entry.number == number) return std::move(entry);
  return std::nullopt;
}

}  // namespace tolvane
