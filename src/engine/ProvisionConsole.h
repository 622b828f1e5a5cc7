#pragma once

#include <string>

namespace tolvane {

// tolvane-provision's output on every platform: a report line on standard output, flushed so that
// whoever reads a pipe sees each step as it ends; a refusal on standard error, named after the
// program, giving back the exit status it ends with.
void PrintLine(const std::string& line);
int Complain(const std::string& text, int status);

}  // namespace tolvane
