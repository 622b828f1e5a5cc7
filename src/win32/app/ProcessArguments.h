#pragma once

#include <string>
#include <vector>

#include "res/Strings.h"

namespace tolvane::win32 {

// What Tolvane.exe's command line asks for. The same options as the Linux program's.
struct CCommandLine {
  enum class Action { Run, ShowHelp, ShowVersion, Refuse };
  Action action = Action::Run;
  TextLanguage language = TextLanguage::English;
  // The help, the version, or why the command line was refused.
  std::string message;
  std::string traceFile;  // empty: no trace file
};

// The arguments after the program's name.
CCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// This process's arguments after the program's name, split as Windows splits them, in UTF-8.
std::vector<std::string> ProcessArguments();

}  // namespace tolvane::win32
