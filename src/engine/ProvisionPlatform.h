#pragma once

#include <memory>

#include "engine/EventLoop.h"
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
  // A thread for one slot's runs, with the loop its ports need.
  virtual std::unique_ptr<ILoopThread> StartLoopThread() = 0;
  // A port for one device's run, made and used on its slot's thread.
  virtual CSlotPorts NewSlotPorts() = 0;
  virtual IFileSystem& Files() = 0;
};

}  // namespace tolvane
