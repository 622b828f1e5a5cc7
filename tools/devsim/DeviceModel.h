#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "RadioState.h"
#include "DeviceSettings.h"

namespace tolvane::devsim {

// What the simulated intercom remembers between commands. Grows with the keys it answers.
struct CDeviceState {
  bool bLinkOpen = false;
  CRadioState radios;
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
  using Clock = std::chrono::steady_clock;
  using Handler = std::function<void(const std::string& value, CDeviceState& state, CDeviceResponse& response)>;
  // What the device says of its own accord, every period.
  using Ticker = std::function<void(CDeviceState& state, CDeviceResponse& response)>;

  void AddKey(const std::string& key, Handler handler);
  void AddTicker(std::chrono::milliseconds period, Ticker ticker);

  CDeviceResponse HandleCommand(const std::string& key, const std::string& value);
  // A message as cut from the line, "KEY:value"; one without a colon is noted and ignored.
  CDeviceResponse HandleMessage(const std::string& message);

  // Runs every ticker that has fallen due by `now`. The first call starts their clocks.
  CDeviceResponse Tick(Clock::time_point now);
  // When the next ticker falls due; nothing before the first Tick or without tickers.
  std::optional<Clock::time_point> NextTickDue() const;

  const CDeviceState& State() const { return m_state; }

 private:
  struct CTicker {
    std::chrono::milliseconds period;
    Ticker ticker;
    std::optional<Clock::time_point> due;
  };

  std::map<std::string, Handler> m_handlers;
  std::vector<CTicker> m_tickers;
  CDeviceState m_state;
};

}  // namespace tolvane::devsim
