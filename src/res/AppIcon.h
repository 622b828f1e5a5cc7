#pragma once

namespace tolvane {

// Icon 128 as XPM lines: 32 x 32 pixels, 16 colours at most. The same file is installed as the
// desktop icon.
const char* const* AppIconXpm();

}  // namespace tolvane
