// Which control notification goes to which handler of the logic.
#include <QComboBox>
#include <QPushButton>

#include "qt/QtMainWindow.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CQtMainWindow::ConnectHandlers() {
  OnButtonClicked(IDC_CONNECT, &CMirlSettingsDlg::OnConnect);
  OnSelectionChanged(IDC_PORT, &CMirlSettingsDlg::OnSelchangePort);
  // The command buttons, the lists' clicks and the other combo boxes join here with their handlers.
}

void CQtMainWindow::OnButtonClicked(int id, void (CMirlSettingsDlg::*handler)()) {
  if (auto* button = qobject_cast<QPushButton*>(Control(id)))
    connect(button, &QPushButton::clicked, this, [this, handler] {
      if (m_pDialog) (m_pDialog->*handler)();
    });
}

void CQtMainWindow::OnSelectionChanged(int id, void (CMirlSettingsDlg::*handler)()) {
  // Only the user's choice notifies, as a selection set by the logic does not.
  if (QComboBox* combo = Combo(id))
    connect(combo, &QComboBox::activated, this, [this, handler] {
      if (m_pDialog) (m_pDialog->*handler)();
    });
}

}  // namespace tolvane
