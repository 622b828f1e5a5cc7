#include <csignal>
#include <cstring>

#include "cli/ProvisionApp.h"
#include "pool/PoolCommand.h"
#include "posix/HostName.h"
#include "posix/PosixFileSystem.h"

int main(int argc, char** argv) {
  // Past a file size limit a write fails and says so, like any other write; it does not kill us.
  std::signal(SIGXFSZ, SIG_IGN);
  if (argc > 1 && std::strcmp(argv[1], "pool") == 0) {
    tolvane::CPosixFileSystem files;
    return tolvane::RunPoolCommand({argv + 2, argv + argc}, tolvane::HostName(), files);
  }
  return tolvane::RunProvision(argc, argv);
}
