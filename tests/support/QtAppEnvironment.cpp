// Widgets, pixmaps, fonts and painting need an application object; one QApplication lives for
// the whole run of a test program that links this (on the offscreen platform, set by ctest).

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TQtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "tracewell_tests";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<QApplication> FApp;
};

::testing::Environment* const kQtApp =
    ::testing::AddGlobalTestEnvironment(new TQtAppEnvironment);

}  // namespace
