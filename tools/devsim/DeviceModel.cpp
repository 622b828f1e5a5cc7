#include "DeviceModel.h"

#include "DeviceWire.h"

namespace tolvane::devsim {

void CDeviceModel::AddKey(const std::string& key, Handler handler) { m_handlers[key] = std::move(handler); }

CDeviceResponse CDeviceModel::HandleCommand(const std::string& key, const std::string& value) {
  CDeviceResponse response;
  const auto handler = m_handlers.find(key);
  if (handler == m_handlers.end()) {
    // The app ignores keys it does not know; so do we, but say so.
    response.notes.push_back("ignored unknown key \"" + key + "\"");
    return response;
  }
  handler->second(value, m_state, response);
  return response;
}

CDeviceResponse CDeviceModel::HandleMessage(const std::string& message) {
  std::string key, value;
  if (!SplitKeyValue(message, key, value)) {
    CDeviceResponse response;
    response.notes.push_back("ignored a message without \":\"");
    return response;
  }
  return HandleCommand(key, value);
}

}  // namespace tolvane::devsim
