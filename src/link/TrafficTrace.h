#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/SecretMask.h"

namespace tolvane {

struct CTraceEntry {
  std::chrono::system_clock::time_point at;
  TraceDirection direction = TraceDirection::ToDevice;
  std::string text;  // masked, without the terminator
};

// The messages written to and cut from the line, for the traffic window and the trace file. The
// link records from its worker threads; the window's thread takes the entries on its own time.
// Secrets are masked as they are recorded, so they never reach the trace at all.
class CTrafficTrace {
 public:
  // Entries kept for a taker that has fallen behind; past it they are counted and left out.
  static constexpr std::size_t kMaxPending = 100'000;

  // Any thread. One atomic load while nothing records; otherwise a short lock of the trace's own,
  // which is never held while waiting for anything.
  void Record(TraceDirection direction, std::string_view message);
  void SetRecording(bool recording) { m_bRecording.store(recording, std::memory_order_relaxed); }
  bool IsRecording() const { return m_bRecording.load(std::memory_order_relaxed); }
  // What was recorded since the last call, oldest first; `leftOut` says how many did not fit.
  std::vector<CTraceEntry> Take(std::size_t& leftOut);

 private:
  std::atomic<bool> m_bRecording{false};
  std::mutex m_lock;
  std::vector<CTraceEntry> m_pending;
  std::size_t m_nLeftOut = 0;
};

// "2024-05-01 12:34:56.789  → device  IP:10.0.0.1", local time. Control characters show as \xNN,
// so that every entry stays on one line.
std::string FormatTraceLine(const CTraceEntry& entry);

}  // namespace tolvane
