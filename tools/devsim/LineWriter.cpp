#include "LineWriter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "DeviceWire.h"

namespace tolvane::devsim {

CLineWriter::CLineWriter(const CLineFaults& faults, unsigned seed) : m_faults(faults), m_random(seed) {}

void CLineWriter::Add(Clock::time_point due, std::string bytes) { m_chunks.push_back({due, std::move(bytes)}); }

// A run of junk that the PC must cut off as a message of its own and ignore: no terminator or
// colon inside (so it can neither swallow nor forge a real message) and no NUL (which ends a read).
std::string CLineWriter::Junk() {
  if (std::uniform_int_distribution(0, 3)(m_random) == 0) return std::string(1, kEnd);
  std::uniform_int_distribution byte(1, 255);
  std::string junk(static_cast<std::size_t>(std::uniform_int_distribution(1, 24)(m_random)), '\0');
  for (char& c : junk) {
    do c = static_cast<char>(byte(m_random));
    while (c == kEnd || c == ':');
  }
  return junk + kEnd;
}

void CLineWriter::Queue(const std::string& message, std::chrono::milliseconds holdBack, Clock::time_point now) {
  Clock::time_point due = now + holdBack;
  if (!m_chunks.empty()) due = std::max(due, m_chunks.back().due);
  if (m_faults.bGarbage) Add(due, Junk());

  const std::string text = message + kEnd;
  if (!m_faults.bSplit || text.size() < 2) {
    Add(due, text);
    return;
  }
  const int maxPieces = static_cast<int>(std::min<std::size_t>(text.size(), 6));
  const int pieces = std::uniform_int_distribution(2, maxPieces)(m_random);
  std::set<std::size_t> cuts;
  std::uniform_int_distribution<std::size_t> position(1, text.size() - 1);
  while (cuts.size() < static_cast<std::size_t>(pieces - 1)) cuts.insert(position(m_random));
  cuts.insert(text.size());

  std::uniform_int_distribution pauseMs(1, 20);
  std::size_t begin = 0;
  for (const std::size_t end : cuts) {
    Add(due, text.substr(begin, end - begin));
    due += std::chrono::milliseconds(pauseMs(m_random));
    begin = end;
  }
}

bool CLineWriter::WriteDue(int fd, Clock::time_point now) {
  m_bBlocked = false;
  while (!m_chunks.empty() && m_chunks.front().due <= now) {
    std::string& bytes = m_chunks.front().bytes;
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
      m_bBlocked = true;
      return true;
    }
    if (static_cast<std::size_t>(written) < bytes.size()) {
      bytes.erase(0, static_cast<std::size_t>(written));
      m_bBlocked = true;
      return true;
    }
    m_chunks.pop_front();
  }
  return true;
}

int CLineWriter::PollTimeout(Clock::time_point now) const {
  if (m_chunks.empty() || m_bBlocked) return -1;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_chunks.front().due - now);
  return static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
}

void CLineWriter::Discard() {
  m_chunks.clear();
  m_bBlocked = false;
}

}  // namespace tolvane::devsim
