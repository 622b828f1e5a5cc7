#include "posix/OpenFailureProbe.h"

#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>

namespace tolvane {

namespace {

bool IsPid(const char* name) {
  if (!*name) return false;
  for (const char* c = name; *c; ++c)
    if (*c < '0' || *c > '9') return false;
  return true;
}

std::string ReadLink(const std::string& path) {
  char target[PATH_MAX];
  const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
  return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

std::string Canonical(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// What each open descriptor of a process points at; empty when its fd directory is not readable.
std::vector<std::string> OpenFiles(const std::string& processDirectory) {
  std::vector<std::string> files;
  const std::string fdDirectory = processDirectory + "/fd";
  DIR* listing = ::opendir(fdDirectory.c_str());
  if (!listing) return files;
  while (const dirent* entry = ::readdir(listing))
    if (IsPid(entry->d_name)) files.push_back(ReadLink(fdDirectory + "/" + entry->d_name));
  ::closedir(listing);
  return files;
}

std::string ProcessName(const std::string& processDirectory) {
  std::ifstream comm(processDirectory + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

// The group whose members may read and write the node; empty when joining it would not help.
std::string GroupThatMayOpen(const struct stat& node) {
  const mode_t groupReadWrite = S_IRGRP | S_IWGRP;
  if ((node.st_mode & groupReadWrite) != groupReadWrite || node.st_gid == 0) return {};
  std::vector<char> buffer(16384);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(node.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return {};
  return found->gr_name;
}

bool IsGone(int error) { return error == ENOENT || error == ENOTDIR || error == ENODEV || error == ENXIO; }

}  // namespace

COpenProbe COpenProbe::System() {
  COpenProbe probe;
  probe.accessError = [](const std::string& path) { return ::access(path.c_str(), R_OK | W_OK) == 0 ? 0 : errno; };
  return probe;
}

std::vector<CHoldingProcess> FindPortHolders(const std::string& path, const COpenProbe& probe) {
  const std::string device = Canonical(path);
  const int self = probe.ownPid != 0 ? probe.ownPid : static_cast<int>(::getpid());
  std::vector<CHoldingProcess> holders;
  std::vector<CHoldingProcess> masters;
  DIR* listing = ::opendir(probe.procRoot.c_str());
  if (!listing) return holders;
  while (const dirent* entry = ::readdir(listing)) {
    if (!IsPid(entry->d_name)) continue;
    const int pid = std::atoi(entry->d_name);
    if (pid == self) continue;
    const std::string directory = probe.procRoot + "/" + entry->d_name;
    const std::vector<std::string> files = OpenFiles(directory);
    if (std::find(files.begin(), files.end(), device) == files.end()) continue;
    const bool holdsMaster = std::any_of(files.begin(), files.end(), [](const std::string& file) {
      return file == "/dev/ptmx" || file == "/dev/pts/ptmx";
    });
    (holdsMaster ? masters : holders).push_back({pid, ProcessName(directory)});
  }
  ::closedir(listing);
  const auto byPid = [](const CHoldingProcess& a, const CHoldingProcess& b) { return a.pid < b.pid; };
  std::sort(holders.begin(), holders.end(), byPid);
  std::sort(masters.begin(), masters.end(), byPid);
  holders.insert(holders.end(), masters.begin(), masters.end());
  return holders;
}

COpenFailure DiagnoseOpenFailure(const std::string& path, OpenRefusal refusal, const COpenProbe& probe) {
  COpenFailure failure;
  struct stat node {};
  if (refusal == OpenRefusal::NotFound || path.empty()) {
    failure.cause = COpenFailure::Cause::Gone;
    return failure;
  }
  if (::stat(path.c_str(), &node) != 0) {
    if (IsGone(errno)) failure.cause = COpenFailure::Cause::Gone;
    return failure;
  }
  const int accessError = probe.accessError ? probe.accessError(path) : 0;
  if (accessError == EACCES || accessError == EPERM) {
    failure.cause = COpenFailure::Cause::NoPermission;
    failure.group = GroupThatMayOpen(node);
    return failure;
  }
  if (refusal != OpenRefusal::Refused) return failure;
  failure.cause = COpenFailure::Cause::Held;
  const std::vector<CHoldingProcess> holders = FindPortHolders(path, probe);
  if (!holders.empty()) {
    failure.holder = holders.front().name;
    failure.holderPid = holders.front().pid;
  }
  return failure;
}

}  // namespace tolvane
