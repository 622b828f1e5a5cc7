#pragma once

#include <QStringList>
#include <optional>
#include <string>

#include "engine/ProvisionOptions.h"

namespace tolvane {

// Parses the arguments (program name first). Prints --help itself and returns nothing with
// `exitCode` 0; a command line it cannot take is reported on standard error, with `exitCode` 2.
std::optional<CProvisionOptions> ParseProvisionOptions(const QStringList& arguments, int& exitCode);

// "COM33", or a device name such as ttyUSB0 or /dev/ttyUSB0, as a COM number; nothing when neither.
std::optional<int> ParsePortName(const std::string& text);

}  // namespace tolvane
