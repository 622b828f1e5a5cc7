#include <csignal>

#include "qtbench/BenchApp.h"

int main(int argc, char** argv) {
  // Past a file size limit a write fails and says so, like any other write; it does not kill us.
  std::signal(SIGXFSZ, SIG_IGN);
  return tolvane::RunBench(argc, argv);
}
