#include "posix/SimulatedPortRegistry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "link/PortNaming.h"

namespace tolvane {

namespace {

constexpr char kLockSuffix[] = ".lock";
constexpr int kFirstSimulatedNumber = 200;

std::string DeviceName(int slot) { return kSimulatedDevicePrefix + std::to_string(slot); }
std::string LinkPath(const std::string& directory, int slot) { return directory + "/" + DeviceName(slot); }
std::string LockPath(const std::string& directory, int slot) { return LinkPath(directory, slot) + kLockSuffix; }

// The slot of "ttySIM<k>.lock", or -1.
int SlotOfLockName(const std::string& fileName) {
  const std::size_t suffixLength = std::strlen(kLockSuffix);
  if (fileName.size() <= suffixLength || !fileName.ends_with(kLockSuffix)) return -1;
  const std::string device = fileName.substr(0, fileName.size() - suffixLength);
  if (!device.starts_with(kSimulatedDevicePrefix)) return -1;
  const int number = ComNumberForDevice(device);
  return number >= kFirstSimulatedNumber ? number - kFirstSimulatedNumber : -1;
}

// Anyone who may write to the directory could point our entries at their own terminal.
bool IsPrivateDirectory(const std::string& directory) {
  struct stat info {};
  if (::lstat(directory.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

enum class LockResult { Taken, Busy, Missing };

// Locks `path` without waiting. A lock on a file that was unlinked meanwhile guards nothing,
// so the file behind the name must still be the one locked.
LockResult TryLock(const std::string& path, bool create, int operation, int& fd) {
  const int flags = (create ? O_RDWR | O_CREAT : O_RDONLY) | O_CLOEXEC | O_NOFOLLOW;
  fd = ::open(path.c_str(), flags, 0600);
  if (fd < 0) return LockResult::Missing;
  if (::flock(fd, operation | LOCK_NB) != 0) {
    ::close(fd);
    fd = -1;
    return LockResult::Busy;
  }
  struct stat held {
  }, named{};
  if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &named) != 0 || held.st_dev != named.st_dev ||
      held.st_ino != named.st_ino) {
    ::close(fd);
    fd = -1;
    return LockResult::Missing;
  }
  return LockResult::Taken;
}

std::vector<int> SlotsInDirectory(const std::string& directory) {
  std::vector<int> slots;
  DIR* listing = ::opendir(directory.c_str());
  if (!listing) return slots;
  while (const dirent* entry = ::readdir(listing)) {
    const int slot = SlotOfLockName(entry->d_name);
    if (slot >= 0) slots.push_back(slot);
  }
  ::closedir(listing);
  std::sort(slots.begin(), slots.end());
  return slots;
}

}  // namespace

CSimulatedPortRegistration::CSimulatedPortRegistration(std::string directory, int slot, int lockFd)
    : m_strDirectory(std::move(directory)), m_nSlot(slot), m_fdLock(lockFd) {}

CSimulatedPortRegistration::~CSimulatedPortRegistration() {
  // Link first: a lock file without its link reads as "being registered", never as a live entry.
  ::unlink(LinkPath(m_strDirectory, m_nSlot).c_str());
  ::unlink(LockPath(m_strDirectory, m_nSlot).c_str());
  ::close(m_fdLock);
}

std::string CSimulatedPortRegistration::Device() const { return DeviceName(m_nSlot); }

CSimulatedPortRegistry::CSimulatedPortRegistry(std::string directory) : m_strDirectory(std::move(directory)) {}

std::string CSimulatedPortRegistry::DefaultDirectory() {
  const char* overridden = std::getenv("TOLVANE_PORT_REGISTRY");
  if (overridden && *overridden) return overridden;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/tolvane";
  return "/tmp/tolvane-" + std::to_string(::geteuid());
}

std::unique_ptr<CSimulatedPortRegistration> CSimulatedPortRegistry::Register(const std::string& terminalPath,
                                                                             std::string& errorText) {
  if (::mkdir(m_strDirectory.c_str(), 0700) != 0 && errno != EEXIST) {
    errorText = "cannot create " + m_strDirectory + ": " + std::strerror(errno);
    return nullptr;
  }
  if (!IsPrivateDirectory(m_strDirectory)) {
    errorText = m_strDirectory + " is not a directory that only this user may write to";
    return nullptr;
  }
  for (int slot = 0; slot < kSimulatedSlotCount; ++slot) {
    int fd = -1;
    LockResult result = LockResult::Missing;
    // Missing here means a cleanup removed the file under us; a fresh one settles it.
    for (int attempt = 0; attempt < 3 && result == LockResult::Missing; ++attempt)
      result = TryLock(LockPath(m_strDirectory, slot), true, LOCK_EX, fd);
    if (result != LockResult::Taken) continue;

    const std::string link = LinkPath(m_strDirectory, slot);
    ::unlink(link.c_str());
    if (::symlink(terminalPath.c_str(), link.c_str()) != 0) {
      errorText = "cannot create " + link + ": " + std::strerror(errno);
      ::unlink(LockPath(m_strDirectory, slot).c_str());
      ::close(fd);
      return nullptr;
    }
    return std::unique_ptr<CSimulatedPortRegistration>(new CSimulatedPortRegistration(m_strDirectory, slot, fd));
  }
  errorText =
      "all " + std::to_string(kSimulatedSlotCount) + " simulated device slots in " + m_strDirectory + " are taken";
  return nullptr;
}

std::vector<CSimulatedPort> CSimulatedPortRegistry::List() {
  std::vector<CSimulatedPort> ports;
  if (!IsPrivateDirectory(m_strDirectory)) return ports;
  for (const int slot : SlotsInDirectory(m_strDirectory)) {
    const std::string lock = LockPath(m_strDirectory, slot);
    const std::string link = LinkPath(m_strDirectory, slot);
    int fd = -1;
    // A shared lock lets two discoveries look at once while still telling a live owner apart.
    const LockResult result = TryLock(lock, false, LOCK_SH, fd);
    if (result == LockResult::Busy) {
      char target[4096];
      const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
      // No link yet: its owner is still registering.
      if (length > 0) ports.push_back({slot, DeviceName(slot), std::string(target, static_cast<std::size_t>(length))});
    } else if (result == LockResult::Taken) {
      ::unlink(link.c_str());
      ::unlink(lock.c_str());
      ::close(fd);
    }
  }
  return ports;
}

}  // namespace tolvane
