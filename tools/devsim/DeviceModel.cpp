#include "DeviceModel.h"

#include "DeviceWire.h"

namespace tolvane::devsim {

void CDeviceModel::AddKey(const std::string& key, Handler handler) { m_handlers[key] = std::move(handler); }

void CDeviceModel::AddTicker(std::chrono::milliseconds period, Ticker ticker) {
  m_tickers.push_back({period, std::move(ticker), std::nullopt});
}

CDeviceResponse CDeviceModel::Tick(Clock::time_point now) {
  CDeviceResponse response;
  for (CTicker& ticker : m_tickers) {
    if (!ticker.due) {
      ticker.due = now + ticker.period;
      continue;
    }
    if (now < *ticker.due) continue;
    ticker.ticker(m_state, response);
    // A loop held up (a suspended process) catches up with one tick, not a burst.
    *ticker.due += ticker.period;
    if (*ticker.due <= now) ticker.due = now + ticker.period;
  }
  return response;
}

std::optional<CDeviceModel::Clock::time_point> CDeviceModel::NextTickDue() const {
  std::optional<Clock::time_point> next;
  for (const CTicker& ticker : m_tickers)
    if (ticker.due && (!next || *ticker.due < *next)) next = ticker.due;
  return next;
}

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
