// Which control notification goes to which handler of the logic.
#include <QComboBox>
#include <QPushButton>

#include "qt/DropDownComboBox.h"
#include "qt/QtMainWindow.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

template <void (CMirlSettingsDlg::*Handler)()>
void CQtMainWindow::OnButtonClicked(int id) {
  if (auto* button = qobject_cast<QPushButton*>(Control(id)))
    connect(button, &QPushButton::clicked, this, [this] {
      if (m_pDialog) (m_pDialog->*Handler)();
    });
}

template <void (CMirlSettingsDlg::*Handler)()>
void CQtMainWindow::OnSelectionChanged(int id) {
  // Only the user's choice notifies, as a selection set by the logic does not.
  if (QComboBox* combo = Combo(id))
    connect(combo, &QComboBox::activated, this, [this] {
      if (m_pDialog) (m_pDialog->*Handler)();
    });
}

void CQtMainWindow::ConnectHandlers() {
  OnButtonClicked<&CMirlSettingsDlg::OnConnect>(IDC_CONNECT);
  OnSelectionChanged<&CMirlSettingsDlg::OnSelchangePort>(IDC_PORT);
  if (auto* ports = dynamic_cast<CDropDownComboBox*>(Combo(IDC_PORT)))
    ports->SetBeforePopup([this] {
      if (m_pDialog) m_pDialog->OnDropdownPort();
    });
  // The command buttons, the lists' clicks and the other combo boxes join here with their handlers.
}

}  // namespace tolvane
