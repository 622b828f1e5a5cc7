#include "cli/LinuxProvisionPlatform.h"

#include "qtserial/QtLoopThread.h"
#include "qtserial/QtSerialPort.h"

namespace tolvane {

std::unique_ptr<ILoopThread> CLinuxProvisionPlatform::StartLoopThread() { return std::make_unique<CQtLoopThread>(); }

CSlotPorts CLinuxProvisionPlatform::NewSlotPorts() {
  auto list = std::make_unique<CLinuxPortList>();
  auto port = std::make_unique<CQtSerialPort>(*list);
  return {std::move(list), std::move(port)};
}

}  // namespace tolvane
