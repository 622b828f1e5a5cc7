#pragma once

namespace tolvane::win32 {

// The application: fixes the language, prepares the common controls, runs the main window modally
// and ends when it closes.
class CMirlSettingsApp {
 public:
  // Returns false: once the main window has closed there is nothing left to run.
  bool InitInstance();
};

}  // namespace tolvane::win32
