#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvane {

// The IMEIs of a list to import: one a line, blank lines and lines starting with "#" skipped. A
// line that is not an IMEI with its check digit, or one listed twice, makes the whole list wrong:
// nothing of it is taken, and the error names the line.
std::optional<std::vector<std::string>> ReadImeiImport(const std::string& path, std::string& errorText);

}  // namespace tolvane
