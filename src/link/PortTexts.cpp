#include "link/PortTexts.h"

#include "res/Strings.h"

namespace tolvane {

std::string PortTip(const CPortIdentity& identity) {
  std::string tip;
  const auto addLine = [&tip](const std::string& line) {
    if (line.empty()) return;
    if (!tip.empty()) tip += '\n';
    tip += line;
  };
  if (identity.simulated) addLine(LoadString(IDS_PORT_TIP_SIMULATED));
  addLine(identity.description);
  if (!identity.manufacturer.empty())
    addLine(FormatString(LoadString(IDS_PORT_TIP_MANUFACTURER), identity.manufacturer));
  if (!identity.usbId.empty()) addLine(FormatString(LoadString(IDS_PORT_TIP_USB_ID), identity.usbId));
  if (!identity.serialNumber.empty())
    addLine(FormatString(LoadString(IDS_PORT_TIP_SERIAL_NUMBER), identity.serialNumber));
  addLine(identity.path);
  return tip;
}

std::string DescribeOpenFailure(const COpenFailure& failure, const std::string& port) {
  switch (failure.cause) {
    case COpenFailure::Cause::NoPermission:
      if (failure.group.empty()) return FormatString(LoadString(IDS_OPEN_NO_PERMISSION), port);
      return FormatString(LoadString(IDS_OPEN_NO_PERMISSION_GROUP), {port, failure.group});
    case COpenFailure::Cause::Held:
      if (failure.holder.empty()) return FormatString(LoadString(IDS_OPEN_HELD_UNKNOWN), port);
      return FormatString(LoadString(IDS_OPEN_HELD_BY), {port, failure.holder, std::to_string(failure.holderPid)});
    case COpenFailure::Cause::Gone: return FormatString(LoadString(IDS_OPEN_GONE), port);
    case COpenFailure::Cause::Unknown: break;
  }
  return FormatString(LoadString(IDS_STATUS_OPEN_FAILED), port);
}

}  // namespace tolvane
