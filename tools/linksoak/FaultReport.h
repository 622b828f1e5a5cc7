#pragma once

namespace tolvane::linksoak {

// Runs every fault mode in a process of its own, so that a hang or a crash is seen as one, and
// prints what each ended in. Returns the exit status.
int RunFaultReport();

}  // namespace tolvane::linksoak
