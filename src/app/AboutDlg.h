#pragma once

#include <QDialog>

#include "res/Strings.h"

namespace tolvane {

// The About box, dialog template 100: the icon, the version line and OK. OK, Esc and the close box
// end it.
class CAboutDlg : public QDialog {
 public:
  explicit CAboutDlg(QWidget* parent = nullptr, TextLanguage language = GetThreadTextLanguage());
};

// The main window's About box: modal over it, until OK.
void RunAboutBoxOver(QWidget& parent);

}  // namespace tolvane
