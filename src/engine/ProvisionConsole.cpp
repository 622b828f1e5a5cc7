#include "engine/ProvisionConsole.h"

#include <cstdio>

namespace tolvane {

void PrintLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int Complain(const std::string& text, int status) {
  std::fprintf(stderr, "tolvane-provision: %s\n", text.c_str());
  return status;
}

}  // namespace tolvane
