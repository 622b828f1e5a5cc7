#include "link/TrafficTrace.h"

#include <cstdio>
#include <ctime>

#include "link/Framing.h"
#include "res/Strings.h"

namespace tolvane {

void CTrafficTrace::Record(TraceDirection direction, std::string_view message) {
  if (!IsRecording()) return;
  // Commands are written with their terminator, messages are cut without it.
  if (!message.empty() && message.back() == kTerminator) message.remove_suffix(1);
  std::string text = MaskSecrets(direction, message);
  std::lock_guard lock(m_lock);
  if (m_pending.size() >= kMaxPending) {
    ++m_nLeftOut;
    return;
  }
  // Stamped under the lock, so that the two threads' entries stay in the order of their times.
  m_pending.push_back({std::chrono::system_clock::now(), direction, std::move(text)});
}

std::vector<CTraceEntry> CTrafficTrace::Take(std::size_t& leftOut) {
  std::vector<CTraceEntry> entries;
  std::lock_guard lock(m_lock);
  entries.swap(m_pending);
  leftOut = m_nLeftOut;
  m_nLeftOut = 0;
  return entries;
}

namespace {

std::string LocalTimestamp(std::chrono::system_clock::time_point at) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
  const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count() % 1000;
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char text[40];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  std::snprintf(text + length, sizeof text - length, ".%03d", static_cast<int>(milliseconds));
  return text;
}

void AppendVisible(std::string& line, std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      line += escaped;
    } else {
      line += c;
    }
  }
}

}  // namespace

std::string FormatTraceLine(const CTraceEntry& entry) {
  std::string line = LocalTimestamp(entry.at);
  line += "  ";
  line += LoadString(entry.direction == TraceDirection::ToDevice ? IDS_TRAFFIC_TO_DEVICE : IDS_TRAFFIC_FROM_DEVICE);
  line += "  ";
  AppendVisible(line, entry.text);
  return line;
}

}  // namespace tolvane
