#include "qt/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

namespace tolvane {

QFont DialogFont(const CDialogFont& font) {
  QFont result;
  // Asked for by name; where it is missing, fontconfig's choice stands in and the layout grows
  // to fit it.
  result.setFamilies({QStringLiteral("Liberation Sans"), QString::fromUtf8(font.face)});
  result.setPointSize(font.pointSize);
  result.setWeight(QFont::Weight(font.weight));
  return result;
}

CDialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  return CDialogBaseUnits::FromAlphabetWidth(metrics.horizontalAdvance(QString::fromLatin1(kDialogUnitAlphabet)),
                                             metrics.height());
}

int CDialogScale::X(int dialogUnits) const {
  // MulDiv with the grown unit: rounded half away from zero.
  const long long product = static_cast<long long>(dialogUnits) * units.charWidth * horizontalPercent;
  constexpr long long kDivisor = 4 * 100;
  return static_cast<int>(product >= 0 ? (product + kDivisor / 2) / kDivisor : (product - kDivisor / 2) / kDivisor);
}

QRect ToPixels(const CDialogScale& scale, const CDialogRect& rect) {
  const int left = scale.X(rect.x);
  const int top = scale.Y(rect.y);
  // Edges are converted, not sizes, so controls that touch in the template still touch.
  return QRect(left, top, scale.X(rect.x + rect.cx) - left, scale.Y(rect.y + rect.cy) - top);
}

QSize ToPixels(const CDialogScale& scale, int cx, int cy) { return QSize(scale.X(cx), scale.Y(cy)); }

}  // namespace tolvane
