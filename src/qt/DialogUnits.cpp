#include "qt/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

namespace tolvane {

QFont DialogFont(const CDialogFont& font) {
  QFont result;
  result.setFamilies({QString::fromUtf8(font.face), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Helvetica")});
  result.setPointSize(font.pointSize);
  result.setWeight(QFont::Weight(font.weight));
  return result;
}

CDialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  return CDialogBaseUnits::FromAlphabetWidth(metrics.horizontalAdvance(QString::fromLatin1(kDialogUnitAlphabet)),
                                             metrics.height());
}

QRect ToPixels(const CDialogBaseUnits& units, const CDialogRect& rect) {
  return QRect(units.ToPixelsX(rect.x), units.ToPixelsY(rect.y), units.ToPixelsX(rect.cx), units.ToPixelsY(rect.cy));
}

QSize ToPixels(const CDialogBaseUnits& units, int cx, int cy) {
  return QSize(units.ToPixelsX(cx), units.ToPixelsY(cy));
}

}  // namespace tolvane
