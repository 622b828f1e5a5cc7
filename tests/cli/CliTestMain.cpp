#include <gtest/gtest.h>

#include <QCoreApplication>

#include "res/Strings.h"

// Timers, queued calls and the link's hops run on the event loop of the test's thread.
int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  tolvane::SetProcessTextLanguage(tolvane::TextLanguage::English);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
