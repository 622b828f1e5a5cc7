// The window's notifications mapped onto the dialog's control routes.
#include "dialog/ControlRoutes.h"
#include "ui/MirlSettingsDlg.h"
#include "win32/Win32MainWindow.h"

namespace tolvane::win32 {

bool CWin32MainWindow::RouteCommand(int id, int notifyCode) {
  if (!m_pDialog) return false;
  switch (notifyCode) {
    case BN_CLICKED: return RouteControlEvent(*m_pDialog, id, EControlEvent::Clicked);
    case CBN_SELCHANGE: return RouteControlEvent(*m_pDialog, id, EControlEvent::SelectionChanged);
    case CBN_DROPDOWN: return RouteControlEvent(*m_pDialog, id, EControlEvent::DroppingDown);
    default: return false;
  }
}

bool CWin32MainWindow::RouteListClick(int id, int row) {
  return m_pDialog && RouteControlEvent(*m_pDialog, id, EControlEvent::RowClicked, row);
}

}  // namespace tolvane::win32
