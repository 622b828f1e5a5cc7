#include <cstring>

#include "cli/ProvisionApp.h"
#include "pool/PoolCommand.h"
#include "posix/HostName.h"
#include "posix/PosixFileSystem.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "pool") == 0) {
    tolvane::CPosixFileSystem files;
    return tolvane::RunPoolCommand({argv + 2, argv + argc}, tolvane::HostName(), files);
  }
  return tolvane::RunProvision(argc, argv);
}
