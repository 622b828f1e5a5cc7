#include "cli/ProvisionApp.h"

int main(int argc, char** argv) { return tolvane::RunProvision(argc, argv); }
