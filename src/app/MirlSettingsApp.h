#pragma once

namespace tolvane {

// The application: fixes the text language, runs the main window modally and ends when it closes.
class CMirlSettingsApp {
 public:
  CMirlSettingsApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

  // Returns false: once the main window has closed there is nothing left to run.
  bool InitInstance();
  // The process's exit status: 0, or 2 for a command line it could not take.
  int ExitCode() const { return m_nExitCode; }

 private:
  int m_nExitCode = 0;
  int& m_argc;
  char** m_argv;
};

}  // namespace tolvane
