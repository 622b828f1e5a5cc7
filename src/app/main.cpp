#include "app/MirlSettingsApp.h"

int main(int argc, char* argv[]) {
  tolvane::CMirlSettingsApp application(argc, argv);
  application.InitInstance();
  return application.ExitCode();
}
