#include "qt/QtAppIcon.h"

#include "res/AppIcon.h"

namespace tolvane {

QPixmap AppIconPixmap() { return QPixmap(AppIconXpm()); }

QIcon AppIcon() { return QIcon(AppIconPixmap()); }

}  // namespace tolvane
