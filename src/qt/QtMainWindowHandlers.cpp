// Which control notification goes to which handler of the logic.
#include <QComboBox>
#include <QPushButton>

#include "qt/DropDownComboBox.h"
#include "qt/QtMainWindow.h"
#include "qt/ReportList.h"
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

template <void (CMirlSettingsDlg::*Handler)(int)>
void CQtMainWindow::OnListClicked(int id) {
  // Mouse clicks only: moving the highlight with the keyboard selects nothing.
  if (CReportList* list = List(id))
    connect(list, &CReportList::ItemClicked, this, [this](int row) {
      if (m_pDialog) (m_pDialog->*Handler)(row);
    });
}

void CQtMainWindow::ConnectHandlers() {
  OnButtonClicked<&CMirlSettingsDlg::OnConnect>(IDC_CONNECT);
  OnSelectionChanged<&CMirlSettingsDlg::OnSelchangePort>(IDC_PORT);
  if (auto* ports = dynamic_cast<CDropDownComboBox*>(Combo(IDC_PORT)))
    ports->SetBeforePopup([this] {
      if (m_pDialog) m_pDialog->OnDropdownPort();
    });
  OnButtonClicked<&CMirlSettingsDlg::OnOpenWifi>(IDC_WIFI_OPEN);
  OnButtonClicked<&CMirlSettingsDlg::OnConnectWifi>(IDC_WIFI_CONNECT);
  OnListClicked<&CMirlSettingsDlg::OnClickWifiList>(IDC_WIFI_LIST);
  OnButtonClicked<&CMirlSettingsDlg::OnOpenBt>(IDC_BT_OPEN);
  OnButtonClicked<&CMirlSettingsDlg::OnSearchBt>(IDC_BT_SEARCH);
  OnButtonClicked<&CMirlSettingsDlg::OnPairBt>(IDC_BT_PAIR);
  OnListClicked<&CMirlSettingsDlg::OnClickBtList>(IDC_BT_LIST);
  OnButtonClicked<&CMirlSettingsDlg::OnOpenGps>(IDC_GPS_OPEN);
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
}

}  // namespace tolvane
