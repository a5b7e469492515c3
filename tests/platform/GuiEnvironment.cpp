// Fonts, palettes and painting need a QGuiApplication; one lives for the whole test run.

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TGuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<QGuiApplication> FApp;
};

::testing::Environment* const kGui = ::testing::AddGlobalTestEnvironment(new TGuiEnvironment);

}  // namespace
