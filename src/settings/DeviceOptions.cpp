#include "ui/MirlSettingsDlg.h"

namespace tolvane {

// Whatever the value, the device is going down: close as Close does.
void CMirlSettingsDlg::OnFactoryResetReply(const std::string&) { ClosePort(); }

}  // namespace tolvane
