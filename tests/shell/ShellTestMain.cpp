// The shell tests start processes and read Qt's environment lookups, so they
// run inside a QCoreApplication like the program does.

#include <cstdlib>

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
