#pragma once

namespace tolvane {

// tolvane-bench: the production line in a window, until it is closed.
int RunBench(int argc, char** argv);

}  // namespace tolvane
