#pragma once

namespace tolvane {

// The application: fixes the text language, runs the main window modally and ends when it closes.
class CMirlSettingsApp {
 public:
  CMirlSettingsApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

  // Returns false: once the main window has closed there is nothing left to run.
  bool InitInstance();

 private:
  int& m_argc;
  char** m_argv;
};

}  // namespace tolvane
