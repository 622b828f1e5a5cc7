// Which control notification goes to which handler of the logic.
#include <array>

#include "ui/MirlSettingsDlg.h"
#include "win32/Win32MainWindow.h"

namespace tolvane::win32 {
namespace {

using Handler = void (CMirlSettingsDlg::*)();
using RowHandler = void (CMirlSettingsDlg::*)(int row);

struct CCommandRoute {
  int id;
  Handler handler;
};

struct CListRoute {
  int id;
  RowHandler handler;
};

// A button clicked.
constexpr CCommandRoute kButtonRoutes[] = {
    {IDC_CONNECT, &CMirlSettingsDlg::OnConnect},
};

// The user chose another item of a combo box (with the mouse or the arrow keys).
constexpr CCommandRoute kSelectionRoutes[] = {
    {IDC_PORT, &CMirlSettingsDlg::OnSelchangePort},
};

// A click in a list, with the row hit (-1 when it hits none).
constexpr std::array<CListRoute, 0> kListClickRoutes{};

}  // namespace

bool CWin32MainWindow::RouteCommand(int id, int notifyCode) {
  if (!m_pDialog) return false;
  const auto route = [&](const auto& routes) {
    for (const CCommandRoute& entry : routes) {
      if (entry.id != id) continue;
      (m_pDialog->*entry.handler)();
      return true;
    }
    return false;
  };
  if (notifyCode == BN_CLICKED) return route(kButtonRoutes);
  if (notifyCode == CBN_SELCHANGE) return route(kSelectionRoutes);
  return false;
}

bool CWin32MainWindow::RouteListClick(int id, int row) {
  if (!m_pDialog) return false;
  for (const CListRoute& entry : kListClickRoutes) {
    if (entry.id != id) continue;
    (m_pDialog->*entry.handler)(row);
    return true;
  }
  return false;
}

}  // namespace tolvane::win32
