#include "win32/app/MirlSettingsApp.h"

#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"
#include "win32/Win32MainWindow.h"
#include "win32/Win32PortList.h"
#include "win32/Win32SerialPort.h"
#include "win32/app/AboutDlg.h"

namespace tolvane::win32 {

bool CMirlSettingsApp::InitInstance() {
  // Whatever the system's language, the window, every message and the boxes' buttons are English.
  SetThreadTextLanguage(TextLanguage::English);
  ::SetThreadUILanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));

  // The classes the templates name, the IP address control among them.
  INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF | ICC_INTERNET_CLASSES};
  ::InitCommonControlsEx(&controls);

  CWin32PortList portList;
  CWin32SerialPort port;
  CWin32MainWindow window(GetThreadTextLanguage());
  if (!window.IsCreated()) return false;
  // Declared after the window, so it goes first: its threads stop before the window does.
  CMirlSettingsDlg dialog(window, port, portList);
  window.AttachDialog(&dialog);
  window.SetAboutBoxRunner([](HWND owner) { CAboutDlg().DoModal(owner); });
  dialog.OnInitDialog();
  window.RunModal();
  // Normally a no-op; after a quit from outside the window it still closes the link.
  window.Destroy();
  return false;
}

}  // namespace tolvane::win32
