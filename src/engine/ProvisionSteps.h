#pragma once

#include <vector>

#include "engine/Profile.h"
#include "res/DeviceCommands.h"

namespace tolvane {

// A step of a provisioning run is one of the dialog's commands: its button, its name in the report
// and how it is awaited come from the command's row in res/DeviceCommands.h.
inline const char* StepName(ECommand step) { return DeviceCommand(step).name; }

// The configuration steps the profile asks for, in the one order they always run in (the
// connection is not among them).
std::vector<ECommand> PlanSteps(const CProfile& profile);

}  // namespace tolvane
