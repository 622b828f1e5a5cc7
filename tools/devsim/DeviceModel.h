#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "DeviceSettings.h"

namespace tolvane::devsim {

// What the simulated intercom remembers between commands. Grows with the keys it answers.
struct CDeviceState {
  bool bLinkOpen = false;
  CDeviceSettings settings;
};

// What one command does: the messages the device sends back (without terminator) and lines
// for the console.
struct CDeviceResponse {
  std::vector<std::string> replies;
  std::vector<std::string> notes;
  // The app restarts: for this long it hears nothing.
  std::chrono::milliseconds restartFor{0};
};

// The intercom app's side of the protocol: one handler per key. A key is taught with AddKey;
// the groups of keys live in files of their own (DeviceKeys.h).
class CDeviceModel {
 public:
  using Handler = std::function<void(const std::string& value, CDeviceState& state, CDeviceResponse& response)>;

  void AddKey(const std::string& key, Handler handler);

  CDeviceResponse HandleCommand(const std::string& key, const std::string& value);
  // A message as cut from the line, "KEY:value"; one without a colon is noted and ignored.
  CDeviceResponse HandleMessage(const std::string& message);

  const CDeviceState& State() const { return m_state; }

 private:
  std::map<std::string, Handler> m_handlers;
  CDeviceState m_state;
};

}  // namespace tolvane::devsim
