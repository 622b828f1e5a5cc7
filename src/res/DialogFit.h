#pragma once

#include <functional>
#include <string_view>

#include "res/DialogTemplates.h"

namespace tolvane {

// A control's place on the window in pixels, by its edges.
struct CPixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const CPixelRect&) const = default;
};

// Dialog units to pixels for one window: the font's base units, with the horizontal unit grown
// evenly, in percent, where the font would not fit the captions otherwise.
struct CDialogScale {
  CDialogBaseUnits units;
  int horizontalPercent = 100;

  int X(int dialogUnits) const;
  int Y(int dialogUnits) const { return units.ToPixelsY(dialogUnits); }
  CPixelRect ToPixels(const CDialogRect& rect) const;
};

// The size a caption needs in its control, in pixels: the text as the front end draws it in the
// dialog's real font, plus the control's own margins (a button's bevel, a combo box's button).
// `text` is the row's caption, that caption broken into lines at '\n', or one of a combo box's
// fixed choices.
struct CCaptionSize {
  int width = 0;
  int height = 0;
};
using CaptionMeasure = std::function<CCaptionSize(const CControlTemplate& row, std::string_view text)>;

// How far the horizontal unit may grow, and in what steps.
inline constexpr int kMaxGrowthPercent = 200;
inline constexpr int kGrowthStepPercent = 4;

// Whether every visible label and button shows its caption whole at this scale, and every combo
// box its fixed choices. A label's text must also end before the next control on its line; a
// multi-line button's caption may break at spaces, and its lines must then fit its height too.
bool AllCaptionsFit(const CDialogTemplate& dialogTemplate, TextLanguage language, const CDialogScale& scale,
                    const CaptionMeasure& measure);

// The least even growth, in steps, at which every caption fits; the ceiling when none does.
CDialogScale FitDialog(const CDialogTemplate& dialogTemplate, TextLanguage language, const CDialogBaseUnits& units,
                       const CaptionMeasure& measure);

}  // namespace tolvane
