#include "ProcessFigures.h"

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace tolvane::e2e {

namespace {

std::string ProcPath(pid_t pid, const char* leaf) { return "/proc/" + std::to_string(pid) + "/" + leaf; }

// Fields of a stat file after the command name, which may itself hold blanks and parentheses.
bool ReadCpuSeconds(const std::string& statPath, double& seconds) {
  std::ifstream file(statPath);
  std::string line;
  if (!std::getline(file, line)) return false;
  const std::size_t close = line.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  // utime and stime are fields 14 and 15 of the line; state (field 3) comes first here.
  for (int index = 3; index <= 15 && fields >> field; ++index) {
    if (index == 14) utime = std::stoull(field);
    if (index == 15) stime = std::stoull(field);
  }
  seconds = static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
  return true;
}

}  // namespace

CProcessFigures ReadProcessFigures(pid_t pid) {
  CProcessFigures figures;
  double cpu = 0;
  if (ReadCpuSeconds(ProcPath(pid, "stat"), cpu)) figures.cpuSeconds = cpu;
  std::ifstream status(ProcPath(pid, "status"));
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) figures.rssKiB = std::stol(line.substr(6));
    if (line.rfind("Threads:", 0) == 0) figures.threads = std::stoi(line.substr(8));
  }
  if (DIR* fds = ::opendir(ProcPath(pid, "fd").c_str())) {
    int count = 0;
    while (const dirent* entry = ::readdir(fds))
      if (entry->d_name[0] != '.') ++count;
    ::closedir(fds);
    // Our own listing holds the directory stream itself.
    figures.openFiles = pid == ::getpid() ? count - 1 : count;
  }
  return figures;
}

std::vector<std::pair<std::string, double>> ReadThreadCpuSeconds(pid_t pid) {
  std::vector<std::pair<std::string, double>> threads;
  DIR* tasks = ::opendir(ProcPath(pid, "task").c_str());
  if (!tasks) return threads;
  while (const dirent* entry = ::readdir(tasks)) {
    if (entry->d_name[0] == '.') continue;
    const std::string task = ProcPath(pid, "task") + "/" + entry->d_name;
    std::string name;
    std::getline(std::ifstream(task + "/comm"), name);
    unsigned long long ranNs = 0;
    if (std::ifstream(task + "/schedstat") >> ranNs)
      threads.emplace_back(name + " (" + entry->d_name + ")", static_cast<double>(ranNs) / 1e9);
  }
  ::closedir(tasks);
  return threads;
}

}  // namespace tolvane::e2e
