// Which control notification goes to which handler of the logic.
#include <QComboBox>
#include <QPushButton>

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
  // Configuration commands.
  OnButtonClicked<&CMirlSettingsDlg::OnWriteImei>(IDC_WRITE_IMEI);
  OnButtonClicked<&CMirlSettingsDlg::OnUpdateIp>(IDC_UPDATE_IP);
  OnButtonClicked<&CMirlSettingsDlg::OnUpdateDomain>(IDC_UPDATE_DOMAIN);
  OnButtonClicked<&CMirlSettingsDlg::OnSetAccount>(IDC_SET_ACCOUNT);
  OnButtonClicked<&CMirlSettingsDlg::OnUpdateDealerPw>(IDC_UPDATE_DEALER_PW);
  OnButtonClicked<&CMirlSettingsDlg::OnSetApn>(IDC_SET_APN);
  OnButtonClicked<&CMirlSettingsDlg::OnClearApn>(IDC_CLEAR_APN);
  OnButtonClicked<&CMirlSettingsDlg::OnSetLanguage>(IDC_SET_LANGUAGE);
  OnButtonClicked<&CMirlSettingsDlg::OnSetNetwork>(IDC_SET_NETWORK);
  OnButtonClicked<&CMirlSettingsDlg::OnFactoryReset>(IDC_FACTORY_RESET);
  OnSelectionChanged<&CMirlSettingsDlg::OnSelchangeLanguage>(IDC_LANGUAGE);
  OnSelectionChanged<&CMirlSettingsDlg::OnSelchangeNetworkType>(IDC_NETWORK_TYPE);
  // The command buttons, the lists' clicks and the other combo boxes join here with their handlers.
}

}  // namespace tolvane
