#include "posix/PosixFileSystem.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace tolvane {

namespace {

class CHeldFlock : public IHeldLock {
 public:
  explicit CHeldFlock(int fd) : m_fd(fd) {}
  // Closing the descriptor lets go of the lock.
  ~CHeldFlock() override { ::close(m_fd); }

 private:
  int m_fd;
};

bool WriteAll(int fd, const std::string& bytes) {
  for (std::size_t written = 0; written < bytes.size();) {
    const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A file of its own beside the target, renamed over it once it is on the disk: a reader sees the old
// file or the new one, never half of one.
class CRenamedFile : public IWholeFile {
 public:
  CRenamedFile(int fd, std::string temporary, std::string path)
      : m_fd(fd), m_temporary(std::move(temporary)), m_path(std::move(path)) {}
  ~CRenamedFile() override {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_kept) ::unlink(m_temporary.c_str());
  }
  CRenamedFile(const CRenamedFile&) = delete;
  CRenamedFile& operator=(const CRenamedFile&) = delete;

  bool Write(const std::string& bytes, std::string& reason) override {
    // Small pieces go to the disk in large writes.
    m_pending += bytes;
    return m_pending.size() < kFlushAt || Flush(reason);
  }

  bool Keep(std::string& reason) override {
    if (!Flush(reason)) return false;
    bool ok = ::fsync(m_fd) == 0;
    int error = errno;
    ok = ::close(m_fd) == 0 && ok;
    m_fd = -1;
    if (ok) {
      ok = ::rename(m_temporary.c_str(), m_path.c_str()) == 0;
      error = errno;
    }
    if (!ok) {
      reason = std::strerror(error);
      return false;
    }
    m_kept = true;
    // The rename itself is kept by the directory.
    if (const int directory = ::open(DirectoryOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); directory >= 0) {
      ::fsync(directory);
      ::close(directory);
    }
    return true;
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 16;

  bool Flush(std::string& reason) {
    if (m_fd < 0 || !WriteAll(m_fd, m_pending)) {
      reason = std::strerror(m_fd < 0 ? EBADF : errno);
      return false;
    }
    m_pending.clear();
    return true;
  }

  int m_fd;
  std::string m_temporary, m_path, m_pending;
  bool m_kept = false;
};

}  // namespace

std::unique_ptr<IHeldLock> CPosixFileSystem::Lock(const std::string& path, int waitMs, std::string& errorText) {
  // The lock file stays: removing it would let a later run lock a fresh file while an earlier one
  // still holds the old.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    errorText = path + ": cannot open the lock: " + std::strerror(errno);
    return nullptr;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::make_unique<CHeldFlock>(fd);
    if (errno != EWOULDBLOCK && errno != EINTR) {
      errorText = path + ": cannot lock: " + std::strerror(errno);
      ::close(fd);
      return nullptr;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::close(fd);
  errorText = path + ": another run held the lock for more than " + std::to_string((waitMs + 999) / 1000) + " s";
  return nullptr;
}

bool CPosixFileSystem::AppendDurably(const std::string& path, const std::string& text, std::string& reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  const bool ok = fd >= 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  const int error = errno;
  if (fd >= 0) ::close(fd);
  if (!ok) reason = std::strerror(error);
  return ok;
}

bool CPosixFileSystem::SaveWhole(const std::string& path, const std::string& bytes, std::string& reason) {
  const std::unique_ptr<IWholeFile> file = SaveInPieces(path, reason);
  return file && file->Write(bytes, reason) && file->Keep(reason);
}

std::unique_ptr<IWholeFile> CPosixFileSystem::SaveInPieces(const std::string& path, std::string& reason) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    reason = std::strerror(errno);
    return nullptr;
  }
  // A file replaced keeps its mode; mkstemp's own is for the owner alone.
  struct stat target {};
  const mode_t mode = ::stat(path.c_str(), &target) == 0 ? (target.st_mode & 07777) : 0644;
  if (::fchmod(fd, mode) != 0) {
    reason = std::strerror(errno);
    ::close(fd);
    ::unlink(temporary.c_str());
    return nullptr;
  }
  return std::make_unique<CRenamedFile>(fd, std::move(temporary), path);
}

}  // namespace tolvane
