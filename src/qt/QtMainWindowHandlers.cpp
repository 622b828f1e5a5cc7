// The window wired to the dialog's control routes: each event kind onto the Qt signal that reports it.
#include <QComboBox>
#include <QPushButton>

#include "dialog/ControlRoutes.h"
#include "qt/DropDownComboBox.h"
#include "qt/QtMainWindow.h"
#include "qt/ReportList.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CQtMainWindow::ConnectHandlers() {
  for (const CControlRoute& route : ControlRoutes()) {
    const auto run = [this, route = &route](int row = -1) {
      if (m_pDialog) route->Run(*m_pDialog, row);
    };
    switch (route.event) {
      case EControlEvent::Clicked:
        if (auto* button = qobject_cast<QPushButton*>(Control(route.id)))
          connect(button, &QPushButton::clicked, this, [run] { run(); });
        break;
      case EControlEvent::SelectionChanged:
        // activated, not currentIndexChanged: only the user's choice notifies.
        if (QComboBox* combo = Combo(route.id)) connect(combo, &QComboBox::activated, this, [run] { run(); });
        break;
      case EControlEvent::DroppingDown:
        if (auto* combo = dynamic_cast<CDropDownComboBox*>(Combo(route.id))) combo->SetBeforePopup([run] { run(); });
        break;
      case EControlEvent::RowClicked:
        if (CReportList* list = List(route.id)) connect(list, &CReportList::ItemClicked, this, run);
        break;
    }
  }
}

}  // namespace tolvane
