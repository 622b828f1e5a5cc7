#pragma once

#include <string>

namespace tolvane {

// This machine's name, as a bench is known by default; empty when the system gives none.
std::string HostName();

}  // namespace tolvane
