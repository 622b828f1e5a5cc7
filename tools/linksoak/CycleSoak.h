#pragma once

namespace tolvane::linksoak {

// Connect -> ready -> close, `cycles` times, against tolvane-devsim through the real port and
// window; prints open files, threads and RSS as it goes. Returns the exit status.
int RunCycleSoak(int cycles);

}  // namespace tolvane::linksoak
