#include "app/AboutDlg.h"

#include <QPushButton>

#include "qt/DialogBuilder.h"

namespace tolvane {

CAboutDlg::CAboutDlg(QWidget* parent, TextLanguage language) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  for (const CBuiltControl& control : BuildDialog(*this, AboutDialogTemplate(), language))
    if (control.row->id == IDOK)
      if (auto* ok = qobject_cast<QPushButton*>(control.widget))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void RunAboutBoxOver(QWidget& parent) {
  CAboutDlg about(&parent);
  about.exec();
}

}  // namespace tolvane
