#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "res/DialogTemplates.h"

namespace tolvane {

// The template's font. Its face is Windows' own; the window asks for Liberation Sans, which the
// install brings and which has the same metrics, so the window looks the same on every machine.
QFont DialogFont(const CDialogFont& font);
CDialogBaseUnits BaseUnitsOf(const QFont& font);

// Dialog units to pixels for one window: the font's base units, with the horizontal unit grown
// evenly, in percent, where the font would not fit the captions otherwise.
struct CDialogScale {
  CDialogBaseUnits units;
  int horizontalPercent = 100;

  int X(int dialogUnits) const;
  int Y(int dialogUnits) const { return units.ToPixelsY(dialogUnits); }
};

QRect ToPixels(const CDialogScale& scale, const CDialogRect& rect);
QSize ToPixels(const CDialogScale& scale, int cx, int cy);

}  // namespace tolvane
