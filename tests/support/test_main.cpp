#include <gtest/gtest.h>

#include <QApplication>
#include <QThreadPool>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  // Qt's image conversions leave idle workers in its pool; ended here, they
  // are not reported as leaks at exit.
  QThreadPool::globalInstance()->waitForDone();
  return result;
}
