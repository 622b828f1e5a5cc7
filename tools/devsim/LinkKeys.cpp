#include "DeviceKeys.h"

namespace tolvane::devsim {

void AddLinkKeys(CDeviceModel& model, const std::set<std::string>& reportKeys) {
  model.AddKey("COM", [reportKeys](const std::string& value, CDeviceState& state, CDeviceResponse& response) {
    if (value == "open") {
      state.bLinkOpen = true;
      response.replies.push_back("COM:open");
      ReportSettings(state, reportKeys, response);
      response.notes.push_back("the PC opened the link");
    } else if (value == "close") {
      state.bLinkOpen = false;
      response.notes.push_back("the PC closed the link (COM:close)");
    } else {
      response.notes.push_back("ignored COM:" + value);
    }
  });
}

}  // namespace tolvane::devsim
