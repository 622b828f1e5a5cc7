#include "cli/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace tolvane {

CFileLock::CFileLock(const std::string& path, int waitMs) {
  // The lock file stays: removing it would let a later run lock a fresh file while an earlier one
  // still holds the old.
  m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (m_fd < 0) {
    m_strError = path + ": cannot open the lock: " + std::strerror(errno);
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
      m_bHeld = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      m_strError = path + ": cannot lock: " + std::strerror(errno);
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  m_strError = path + ": another run held the lock for more than " + std::to_string((waitMs + 999) / 1000) + " s";
}

CFileLock::~CFileLock() {
  // Closing the descriptor lets go of the lock.
  if (m_fd >= 0) ::close(m_fd);
}

}  // namespace tolvane
