#pragma once

#include <QDialog>
#include <vector>

#include "res/DialogTemplates.h"

namespace tolvane {

struct CBuiltControl {
  const CControlTemplate* row;
  QWidget* widget;  // nullptr for the serial port
};

// Gives the dialog the template's font, title, icon and fixed size, and creates its controls in
// template order, which makes the tab order the template order.
std::vector<CBuiltControl> BuildDialog(QDialog& dialog, const CDialogTemplate& dialogTemplate, TextLanguage language);

}  // namespace tolvane
