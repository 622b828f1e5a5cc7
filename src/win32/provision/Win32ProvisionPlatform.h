#pragma once

#include "engine/ProvisionPlatform.h"
#include "win32/Win32PortList.h"
#include "win32/provision/Win32FileSystem.h"

namespace tolvane::win32 {

// The production line on Windows: the system's COM ports, each slot's on a thread that pumps its
// messages, and Windows' files.
class CWin32ProvisionPlatform : public IProvisionPlatform {
 public:
  IPortList& Ports() override { return m_ports; }
  std::unique_ptr<ILoopThread> StartLoopThread() override;
  CSlotPorts NewSlotPorts() override;
  IFileSystem& Files() override { return m_files; }

 private:
  CWin32PortList m_ports;
  CWin32FileSystem m_files;
};

// This machine's name, as a bench is known by default; empty when the system gives none.
std::string ComputerName();

}  // namespace tolvane::win32
