#pragma once

#include <string>
#include <vector>

#include "win32/ProcessArguments.h"

namespace tolvane::win32 {

// The application: reads the command line, fixes the language, prepares the common controls, runs
// the main window modally and ends when it closes.
class CMirlSettingsApp {
 public:
  explicit CMirlSettingsApp(std::vector<std::string> arguments = ProcessArguments())
      : m_arguments(std::move(arguments)) {}

  // Returns false: once the main window has closed there is nothing left to run.
  bool InitInstance();
  // The process's exit status: 0, or 2 for a command line it could not take.
  int ExitCode() const { return m_nExitCode; }

 private:
  std::vector<std::string> m_arguments;
  int m_nExitCode = 0;
};

}  // namespace tolvane::win32
