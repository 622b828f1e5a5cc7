#include "win32/app/MirlSettingsApp.h"

#include "res/Strings.h"
#include "shell/CommandLine.h"
#include "ui/MirlSettingsDlg.h"
#include "win32/RegistryDeviceMemory.h"
#include "win32/TrafficTracing.h"
#include "win32/Utf16.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32PortList.h"
#include "win32/Win32SerialPort.h"
#include "win32/app/AboutDlg.h"

namespace tolvane::win32 {
namespace {

// Help, version or a refused command line: on the console the program was started from, if any,
// else in a box (a program without a console of its own has nowhere else to say it).
void Tell(const std::string& text, bool problem) {
  if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
    HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    const std::wstring wide = Widen(text + "\n");
    DWORD written = 0;
    const bool told = console != INVALID_HANDLE_VALUE &&
                      ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    if (console != INVALID_HANDLE_VALUE) ::CloseHandle(console);
    ::FreeConsole();
    if (told) return;
  }
  ::MessageBoxW(nullptr, Widen(text).c_str(), Widen(kApplicationName).c_str(),
                MB_OK | (problem ? MB_ICONWARNING : MB_ICONINFORMATION));
}

LANGID UiLanguageOf(TextLanguage language) {
  return language == TextLanguage::Chinese ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                                           : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

}  // namespace

bool CMirlSettingsApp::InitInstance() {
  const CCommandLine commandLine = ParseCommandLine(m_arguments, EProgram::TolvaneExe);
  if (commandLine.action != CCommandLine::EAction::Run) {
    Tell(commandLine.text, commandLine.action == CCommandLine::EAction::Refuse);
    m_nExitCode = commandLine.exitStatus;
    return false;
  }
  // Whatever the system's language, the window, every message on every thread and the boxes'
  // buttons are English, unless the user asked for Chinese.
  SetProcessTextLanguage(commandLine.language);
  ::SetThreadUILanguage(UiLanguageOf(commandLine.language));

  // The classes the templates name, the IP address control among them.
  INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF | ICC_INTERNET_CLASSES};
  ::InitCommonControlsEx(&controls);

  // Outlives the link's threads, which record into it, and the tracing that takes from it.
  CTrafficTrace trace;
  CWin32TrafficTracing tracing(trace, GetProcessTextLanguage());
  if (!commandLine.traceFile.empty()) {
    std::string errorText;
    if (!tracing.OpenFile(Widen(commandLine.traceFile), errorText)) {
      Tell("cannot write the trace to " + commandLine.traceFile + ": " + errorText, true);
      m_nExitCode = 2;
      return false;
    }
  }

  CRegistryDeviceMemory memory;
  CWin32PortList portList(&memory);
  CWin32SerialPort port;
  CWin32MainWindow window(GetProcessTextLanguage());
  if (!window.IsCreated()) return false;
  // Declared after the window, so it goes first: its threads stop before the window does.
  CMirlSettingsDlg dialog(window, port, portList);
  window.AttachDialog(&dialog);
  dialog.SetTrafficTrace(&trace);
  tracing.AttachTo(window);
  window.SetAboutBoxRunner(RunAboutBoxOver);
  dialog.OnInitDialog();
  window.RunModal();
  // Normally a no-op; after a quit from outside the window it still closes the link.
  window.Destroy();
  return false;
}

}  // namespace tolvane::win32
