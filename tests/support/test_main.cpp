#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

// Every test binary runs headless with a QApplication, so widgets, timers and
// sockets behave as in the program. CTest discovers the tests before running
// them, so the platform must be chosen here when the environment leaves it open.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // QApplication switches the C library to the user's locale; keep numbers in C.
  std::setlocale(LC_NUMERIC, "C");
  return RUN_ALL_TESTS();
}
