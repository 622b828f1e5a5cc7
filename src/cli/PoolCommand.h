#pragma once

namespace tolvane {

// tolvane-provision pool init|import|status|export|release: looks after an IMEI pool. Returns the
// exit status.
int RunPoolCommand(int argc, char** argv);

}  // namespace tolvane
