#pragma once

#include <string>
#include <vector>

namespace tolvane::win32::testing {

// Where the Windows tests find the Linux side; set by the test run (CMake passes them to ctest).
struct CWineTestEnvironment {
  std::string devsim;   // tolvane-devsim, a Linux path
  std::string wrapper;  // devsim-on-com.sh
  std::string comLink;  // the path Wine's COM port stands for
  std::string scratch;  // a Linux folder for the devices' logs
  int comNumber = 0;    // the COM port that stands for comLink
  bool IsComplete() const { return !devsim.empty() && !wrapper.empty() && !comLink.empty() && comNumber > 0; }
  static CWineTestEnvironment FromEnvironment();
};

// Z:\ and the Linux path: how a Windows program under Wine reaches a Linux file.
std::string DosPathOf(const std::string& linuxPath);
// Starts a Linux program from Wine, detached. False when Wine refuses.
bool RunLinuxProgram(const std::vector<std::string>& arguments);

// A tolvane-devsim behind Wine's COM port, for as long as this lives.
class CWineDevsim {
 public:
  CWineDevsim(const CWineTestEnvironment& environment, std::vector<std::string> arguments = {});
  ~CWineDevsim();
  CWineDevsim(const CWineDevsim&) = delete;
  CWineDevsim& operator=(const CWineDevsim&) = delete;

  // Starts it and waits until the COM port leads to it. False when that never happens.
  bool Start();
  std::string Output() const;
  bool HasPrinted(const std::string& text) const { return Output().find(text) != std::string::npos; }
  void Stop();

 private:
  std::string ReadFile(const std::string& linuxPath) const;

  CWineTestEnvironment m_environment;
  std::vector<std::string> m_arguments;
  std::string m_strLog;
  bool m_bStarted = false;
};

}  // namespace tolvane::win32::testing
