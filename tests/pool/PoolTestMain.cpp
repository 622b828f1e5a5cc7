#include <gtest/gtest.h>

#include <QCoreApplication>

// Qt's SQL drivers are plug-ins, found through the application object.
int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
