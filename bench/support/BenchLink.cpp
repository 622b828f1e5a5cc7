#include "BenchLink.h"

#include <QCoreApplication>
#include <thread>

#include "res/ControlIds.h"

namespace tolvane::bench {

bool SelectPort(IWindow& window, CMirlSettingsDlg& dialog, int comNumber) {
  const std::string prefix = "COM" + std::to_string(comNumber) + " (";
  for (int index = 0; index < window.ComboGetCount(IDC_PORT); ++index) {
    window.ComboSetCurSel(IDC_PORT, index);
    if (window.GetWindowText(IDC_PORT).rfind(prefix, 0) == 0) {
      dialog.OnSelchangePort();
      return dialog.GetComPort() == comNumber;
    }
  }
  return false;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void UsePortRegistry(const std::string& directory) { qputenv("TOLVANE_PORT_REGISTRY", directory.c_str()); }

}  // namespace tolvane::bench
