#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace tolvane::e2e {

// What /proc says about a process; every field is -1 when it could not be read.
struct CProcessFigures {
  double cpuSeconds = -1;  // user + system
  long rssKiB = -1;
  int threads = -1;
  int openFiles = -1;
};

CProcessFigures ReadProcessFigures(pid_t pid);
// Each thread's name and the CPU seconds it has run so far, to the nanosecond (schedstat), where
// the process's cpuSeconds counts 10 ms ticks.
std::vector<std::pair<std::string, double>> ReadThreadCpuSeconds(pid_t pid);

}  // namespace tolvane::e2e
