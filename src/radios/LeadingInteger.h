#pragma once

#include <string_view>

namespace tolvane {

// Reads a number as atoi does: white space skipped, an optional sign, then digits up to the first
// other character; no digits give 0. A value beyond int's range saturates instead of being
// undefined, since the text comes from the device.
int ParseLeadingInteger(std::string_view text);

}  // namespace tolvane
