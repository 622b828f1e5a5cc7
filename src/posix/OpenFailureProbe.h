#pragma once

#include <functional>
#include <string>
#include <vector>

#include "link/IPort.h"

namespace tolvane {

// What the serial layer said when the device would not open.
enum class OpenRefusal {
  NotFound,  // no such device
  Refused,   // permission, another holder's exclusive open, or its lock file
  Other,
};

// How the system is looked at; tests replace parts of it.
struct COpenProbe {
  // The errno of a read-write access check of the node; 0 when allowed.
  std::function<int(const std::string& path)> accessError;
  std::string procRoot = "/proc";
  int ownPid = 0;  // 0: this process

  static COpenProbe System();
};

struct CHoldingProcess {
  int pid = 0;
  std::string name;
};

// Why the device at `path` would not open: gone, not allowed (with the group whose members may open
// it), or held (by whom, where /proc tells). Never opens the device itself: opening a serial port
// raises its control lines, and some devices reset on that.
COpenFailure DiagnoseOpenFailure(const std::string& path, OpenRefusal refusal,
                                 const COpenProbe& probe = COpenProbe::System());

// The processes with `path` open, by pid, found in <procRoot>/<pid>/fd where that is readable.
// When several hold it, those that also hold a pseudo-terminal master (a simulated device's own
// end) come last.
std::vector<CHoldingProcess> FindPortHolders(const std::string& path, const COpenProbe& probe = COpenProbe::System());

}  // namespace tolvane
