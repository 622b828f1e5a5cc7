#pragma once

#include "engine/ProvisionPlatform.h"
#include "posix/PosixFileSystem.h"
#include "qtserial/LinuxPortList.h"

namespace tolvane {

// The production line on Linux: the system's serial ports and tolvane-devsim's, through Qt's
// serial port, and POSIX files.
class CLinuxProvisionPlatform : public IProvisionPlatform {
 public:
  IPortList& Ports() override { return m_ports; }
  std::unique_ptr<ILoopThread> StartLoopThread() override;
  CSlotPorts NewSlotPorts() override;
  IFileSystem& Files() override { return m_files; }

 private:
  CLinuxPortList m_ports;
  CPosixFileSystem m_files;
};

}  // namespace tolvane
