// The main of the Qt test programs: one QApplication for the whole run, on
// the offscreen platform unless the environment names another, and settings
// in a temporary directory so a user's own are never touched.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/test_dirs.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  morva::testing::TempDir config;
  qputenv("XDG_CONFIG_HOME", config.str().c_str());
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
