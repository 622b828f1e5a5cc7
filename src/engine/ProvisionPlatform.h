#pragma once

#include <memory>

#include "engine/IFileSystem.h"
#include "link/IPort.h"

namespace tolvane {

// One device's serial port and the list it finds its device in.
struct CSlotPorts {
  std::unique_ptr<IPortList> list;
  std::unique_ptr<IPort> port;  // opens by `list`
};

// What a production line needs of the platform beyond the core.
class IProvisionPlatform {
 public:
  virtual ~IProvisionPlatform() = default;

  // The list the job watches for devices that come and go, and looks ports up in.
  virtual IPortList& Ports() = 0;
  // A port for one device's run, made and used on the thread that runs that device.
  virtual CSlotPorts NewSlotPorts() = 0;
  virtual IFileSystem& Files() = 0;
};

}  // namespace tolvane
