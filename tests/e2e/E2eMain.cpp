#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>
#include <cstring>

#include "PortHolder.h"

// QSerialPort and QProcess deliver through the event loop of the thread that made them: the test's.
int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], tolvane::e2e::kHoldPortOption) == 0)
    return tolvane::e2e::RunPortHolder(std::atoi(argv[2]));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
