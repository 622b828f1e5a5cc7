#include "cli/LinuxProvisionPlatform.h"

#include "qt/QtSerialPort.h"

namespace tolvane {

CSlotPorts CLinuxProvisionPlatform::NewSlotPorts() {
  auto list = std::make_unique<CLinuxPortList>();
  auto port = std::make_unique<CQtSerialPort>(*list);
  return {std::move(list), std::move(port)};
}

}  // namespace tolvane
