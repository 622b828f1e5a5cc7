#pragma once

#include <chrono>
#include <deque>
#include <random>
#include <string>

#include "DevsimOptions.h"

namespace tolvane::devsim {

// Puts the device's messages on the line, misbehaving as the faults ask: messages become
// timed chunks that go out in order, each when its time has come.
class CLineWriter {
 public:
  using Clock = std::chrono::steady_clock;

  CLineWriter(const CLineFaults& faults, unsigned seed);

  // Queues one message (terminator added here), to leave no sooner than `holdBack` from `now`
  // and never ahead of what is already queued.
  void Queue(const std::string& message, std::chrono::milliseconds holdBack, Clock::time_point now);

  // Writes every chunk that has fallen due. False when the line is gone.
  bool WriteDue(int fd, Clock::time_point now);

  // Poll timeout until the next chunk falls due; -1 when nothing waits or the line is full.
  int PollTimeout(Clock::time_point now) const;
  // The line took no more bytes last time: wait until it is writable again.
  bool IsBlocked() const { return m_bBlocked; }
  bool IsIdle() const { return m_chunks.empty(); }
  void Discard();

 private:
  struct CChunk {
    Clock::time_point due;
    std::string bytes;
  };
  void Add(Clock::time_point due, std::string bytes);
  std::string Junk();

  CLineFaults m_faults;
  std::mt19937 m_random;
  std::deque<CChunk> m_chunks;
  bool m_bBlocked = false;
};

}  // namespace tolvane::devsim
