#include <cstring>

#include "cli/PoolCommand.h"
#include "cli/ProvisionApp.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "pool") == 0) return tolvane::RunPoolCommand(argc, argv);
  return tolvane::RunProvision(argc, argv);
}
