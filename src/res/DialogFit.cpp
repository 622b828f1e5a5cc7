#include "res/DialogFit.h"

#include <algorithm>
#include <climits>
#include <string>

namespace tolvane {
namespace {

bool TakesSpace(const CControlTemplate& row, TextLanguage language) {
  return row.kind != ControlKind::Frame && row.kind != ControlKind::SerialPort && !row.IsHidden(language);
}

// Pixels from a label's left edge to the next control on its line, where its text must end.
int RoomRightOf(const CControlTemplate& label, const CDialogTemplate& dialogTemplate, TextLanguage language,
                const CDialogScale& scale) {
  const CPixelRect own = scale.ToPixels(label.Rect(language));
  int room = INT_MAX;
  for (const CControlTemplate& other : dialogTemplate.controls) {
    if (&other == &label || !TakesSpace(other, language)) continue;
    const CPixelRect rect = scale.ToPixels(other.Rect(language));
    const bool sameLine = rect.top < own.bottom && rect.bottom > own.top;
    if (sameLine && rect.left > own.left) room = std::min(room, rect.left - own.left);
  }
  return room;
}

// The caption broken at spaces wherever the next word would make a line wider than `width`.
std::string BreakAtSpaces(const CControlTemplate& row, const std::string& caption, int width,
                          const CaptionMeasure& measure) {
  std::string text;
  std::string line;
  std::size_t start = 0;
  while (start <= caption.size()) {
    const std::size_t end = std::min(caption.find(' ', start), caption.size());
    const std::string word = caption.substr(start, end - start);
    const std::string longer = line.empty() ? word : line + ' ' + word;
    if (line.empty() || measure(row, longer).width <= width) {
      line = longer;
    } else {
      text += line + '\n';
      line = word;
    }
    start = end + 1;
  }
  return text + line;
}

bool CaptionFits(const CControlTemplate& row, const CDialogTemplate& dialogTemplate, TextLanguage language,
                 const CDialogScale& scale, const CaptionMeasure& measure) {
  const CPixelRect rect = scale.ToPixels(row.Rect(language));
  if (row.kind == ControlKind::ComboBox)
    return std::all_of(row.choices.begin(), row.choices.end(),
                       [&](const char* choice) { return measure(row, choice).width <= rect.Width(); });
  const std::string caption = row.caption.Get(language);
  if (caption.empty()) return true;
  switch (row.kind) {
    case ControlKind::Label:
      return measure(row, caption).width <= std::min(rect.Width(), RoomRightOf(row, dialogTemplate, language, scale));
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
      if (!row.IsMultiLine(language)) return measure(row, caption).width <= rect.Width();
      const CCaptionSize size = measure(row, BreakAtSpaces(row, caption, rect.Width(), measure));
      return size.width <= rect.Width() && size.height <= rect.Height();
    }
    default: return true;
  }
}

}  // namespace

int CDialogScale::X(int dialogUnits) const {
  // MulDiv with the grown unit: rounded half away from zero.
  const long long product = static_cast<long long>(dialogUnits) * units.charWidth * horizontalPercent;
  constexpr long long kDivisor = 4 * 100;
  return static_cast<int>(product >= 0 ? (product + kDivisor / 2) / kDivisor : (product - kDivisor / 2) / kDivisor);
}

CPixelRect CDialogScale::ToPixels(const CDialogRect& rect) const {
  // Edges are converted, not sizes, so controls that touch in the template still touch.
  return {X(rect.x), Y(rect.y), X(rect.x + rect.cx), Y(rect.y + rect.cy)};
}

bool AllCaptionsFit(const CDialogTemplate& dialogTemplate, TextLanguage language, const CDialogScale& scale,
                    const CaptionMeasure& measure) {
  return std::all_of(dialogTemplate.controls.begin(), dialogTemplate.controls.end(), [&](const CControlTemplate& row) {
    return row.IsHidden(language) || CaptionFits(row, dialogTemplate, language, scale, measure);
  });
}

CDialogScale FitDialog(const CDialogTemplate& dialogTemplate, TextLanguage language, const CDialogBaseUnits& units,
                       const CaptionMeasure& measure) {
  CDialogScale scale{units};
  while (scale.horizontalPercent < kMaxGrowthPercent && !AllCaptionsFit(dialogTemplate, language, scale, measure))
    scale.horizontalPercent += kGrowthStepPercent;
  return scale;
}

}  // namespace tolvane
