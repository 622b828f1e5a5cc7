#pragma once

namespace tolvane {

// tolvane-provision from its arguments to its exit status.
int RunProvision(int argc, char** argv);

}  // namespace tolvane
