#pragma once

#include <QWidget>

#include "qt/DialogUnits.h"
#include "res/DialogTemplates.h"

namespace tolvane {

// The widget for one template row, with its styles, caption, member name and accessible name.
// The serial port has no visible part: nullptr.
QWidget* CreateControl(const CControlTemplate& row, TextLanguage language, QWidget* parent);

// Puts the widget where the template says. Combo boxes keep their own height: the template's
// height includes the dropped-down list.
void PlaceControl(QWidget& widget, const CControlTemplate& row, TextLanguage language, const CDialogScale& scale);

// Whether a label's or button's caption shows whole where the widget stands. A label's text must
// also end within `roomForLabel` pixels, where the next control begins.
bool CaptionFits(const QWidget& widget, int roomForLabel);

// The template row a widget was made from; -1 (IDC_STATIC) for labels and frames without an id.
int ControlIdOf(const QWidget& widget);

}  // namespace tolvane
