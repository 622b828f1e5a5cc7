#include "res/AppIcon.h"

#include "res/tolvane.xpm"

namespace tolvane {

const char* const* AppIconXpm() { return tolvane_xpm; }

}  // namespace tolvane
