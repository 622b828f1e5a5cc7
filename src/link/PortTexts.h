#pragma once

#include <string>

#include "link/IPort.h"

namespace tolvane {

// The tooltip of a port list entry: what the system knows about the device, one fact a line, the
// path last. In the calling thread's language.
std::string PortTip(const CPortIdentity& identity);

// What the status strip says when `port` ("COM33") could not be opened: the cause and its remedy.
std::string DescribeOpenFailure(const COpenFailure& failure, const std::string& port);

}  // namespace tolvane
