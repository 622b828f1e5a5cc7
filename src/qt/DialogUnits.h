#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "res/DialogTemplates.h"

namespace tolvane {

// The template's font. Its face rarely exists here, so metric-compatible faces follow it; the
// dialog units derive from whatever face is used, which keeps the layout in proportion.
QFont DialogFont(const CDialogFont& font);
CDialogBaseUnits BaseUnitsOf(const QFont& font);

QRect ToPixels(const CDialogBaseUnits& units, const CDialogRect& rect);
QSize ToPixels(const CDialogBaseUnits& units, int cx, int cy);

}  // namespace tolvane
