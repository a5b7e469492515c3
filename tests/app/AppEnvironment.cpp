// Pixmaps and widgets need an application object; one lives for the whole test run.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<QApplication> FApp;
};

::testing::Environment* const kApp = ::testing::AddGlobalTestEnvironment(new TAppEnvironment);

}  // namespace
