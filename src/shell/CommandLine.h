#pragma once

#include <string>
#include <vector>

#include "res/Strings.h"

namespace tolvane {

// The programs that take these options: tolvane on Linux and Tolvane.exe on Windows. They share the
// options and the rules, and differ in how they name themselves and lay out their help.
enum class EProgram { Tolvane, TolvaneExe };

// What a command line asks for.
struct CCommandLine {
  enum class EAction { Run, ShowHelp, ShowVersion, Refuse };
  EAction action = EAction::Run;
  TextLanguage language = TextLanguage::English;
  std::string traceFile;  // empty: no trace file
  // The help, the version, or why the command line was refused and where to look; no final newline.
  std::string text;
  // For a program that stops here: 0, or 2 when refused.
  int exitStatus = 0;
};

// The arguments after the program's name, in UTF-8. Help and version are answered wherever they
// stand, the first of them asked; otherwise the first argument that cannot be taken refuses the rest.
// The last language and trace file given count.
CCommandLine ParseCommandLine(const std::vector<std::string>& arguments, EProgram program);

// What --help shows.
std::string HelpText(EProgram program);

}  // namespace tolvane
