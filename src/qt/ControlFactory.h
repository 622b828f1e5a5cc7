#pragma once

#include <QWidget>
#include <string_view>

#include "qt/DialogUnits.h"
#include "res/DialogTemplates.h"

namespace tolvane {

// The widget for one template row, with its styles, caption, member name and accessible name.
// The serial port has no visible part: nullptr.
QWidget* CreateControl(const CControlTemplate& row, TextLanguage language, QWidget* parent);

// Puts the widget where the template says. Combo boxes keep their own height: the template's
// height includes the dropped-down list.
void PlaceControl(QWidget& widget, const CControlTemplate& row, TextLanguage language, const CDialogScale& scale);

// The size `text` (the caption, or the caption broken into lines at '\n') takes in a label or a
// button, with the button's bevel; for the core's fit.
CCaptionSize MeasureCaption(const QWidget& widget, std::string_view text);

// The template row a widget was made from; -1 (IDC_STATIC) for labels and frames without an id.
int ControlIdOf(const QWidget& widget);

}  // namespace tolvane
