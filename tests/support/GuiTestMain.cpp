// GUI tests run offscreen unless a platform was chosen, inside a QApplication,
// with the product's resource library loaded as the program loads it.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

#include "resources/ResourceLibrary.h"

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (!ab::LoadResourceLibrary(QStringLiteral(AB_PRODUCT_BUNDLE))) {
    std::fprintf(stderr, "cannot load the resource library %s\n", AB_PRODUCT_BUNDLE);
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  ab::FreeResourceLibrary();
  return result;
}
