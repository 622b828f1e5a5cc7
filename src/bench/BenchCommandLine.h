#pragma once

#include <string>
#include <vector>

#include "engine/ProvisionCommandLine.h"
#include "res/Strings.h"

namespace tolvane {

// What the bench window's command line comes to: tolvane-provision's batch options, always as
// --wait does, a slot per --port, and the bench's own --label and --language.
struct CBenchCommandLine {
  CProvisionCommandLine::EAction action = CProvisionCommandLine::EAction::Run;
  CProvisionOptions options;
  bool labels = false;  // --label: a unit waits for its label before anything is sent
  TextLanguage language = TextLanguage::English;
  std::string text;  // the help, or why the command line was refused; no final newline
  int exitStatus = 0;
};

// The arguments after the program's name; `program` names it in the help and the refusals.
CBenchCommandLine ParseBenchCommandLine(const std::vector<std::string>& arguments, const std::string& hostName,
                                        const std::string& program);

}  // namespace tolvane
