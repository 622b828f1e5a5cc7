#include "win32/WinApi.h"
#include "win32/app/MirlSettingsApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tolvane::win32::CMirlSettingsApp application;
  application.InitInstance();
  return application.ExitCode();
}
