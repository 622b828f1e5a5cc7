#pragma once

#include <QIcon>
#include <QPixmap>

namespace tolvane {

// Icon 128, the application icon, for captions, the task bar and the About box.
QPixmap AppIconPixmap();
QIcon AppIcon();

}  // namespace tolvane
