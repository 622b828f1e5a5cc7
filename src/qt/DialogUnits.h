#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "res/DialogFit.h"

namespace tolvane {

// The template's font. Its face is Windows' own; the window asks for Liberation Sans, which the
// install brings and which has the same metrics, so the window looks the same on every machine.
QFont DialogFont(const CDialogFont& font);
CDialogBaseUnits BaseUnitsOf(const QFont& font);

QRect ToPixels(const CDialogScale& scale, const CDialogRect& rect);
QSize ToPixels(const CDialogScale& scale, int cx, int cy);

}  // namespace tolvane
