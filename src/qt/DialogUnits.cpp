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

QRect ToPixels(const CDialogScale& scale, const CDialogRect& rect) {
  const CPixelRect pixels = scale.ToPixels(rect);
  return QRect(pixels.left, pixels.top, pixels.Width(), pixels.Height());
}

QSize ToPixels(const CDialogScale& scale, int cx, int cy) { return QSize(scale.X(cx), scale.Y(cy)); }

}  // namespace tolvane
