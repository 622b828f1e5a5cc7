#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// The text after "=" read as QSettings' INI format reads a value: double quotes keep commas,
// semicolons and blanks, a backslash starts an escape, a ";" outside quotes starts a comment, and
// blanks go at the start, right after a closing quote, and at the end of a value never quoted.
// Nothing when it is not one value on one line: a list, a quote left open, a backslash at the end.
std::optional<std::string> ReadIniValue(std::string_view raw);

}  // namespace tolvane
