// GoogleTest main for the window tests: a QApplication on Qt's offscreen
// platform, with the fonts the windows name mapped to installed families.
#include <gtest/gtest.h>

#include <QApplication>

#include "framework/window_manager.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  fw::installFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
