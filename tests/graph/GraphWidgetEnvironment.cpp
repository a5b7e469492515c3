// The graph control's tests need a QApplication; one lives for the whole test run (on the
// offscreen platform). The arithmetic tests in the same program do not mind it.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

class TGraphWidgetEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "graph_tests";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<QApplication> FApp;
};

::testing::Environment* const kWidgets =
    ::testing::AddGlobalTestEnvironment(new TGraphWidgetEnvironment);

}  // namespace
