#pragma once

// Small helpers shared by the test executables.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace tw_test {

// True when |actual - expected| <= tolerance * max(|expected|, tiny): a relative compare that
// still works for values near zero.
::testing::AssertionResult RelativelyNear(double actual, double expected, double tolerance);

// A fresh empty folder under the system's temporary folder, removed when the object dies.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path operator/(const std::string& name) const { return FPath / name; }

 private:
  std::filesystem::path FPath;
};

// The source tree (for the bundled samples); taken from TRACEWELL_SOURCE_DIR set by ctest.
std::filesystem::path SourceDir();

}  // namespace tw_test

#define EXPECT_REL_NEAR(actual, expected, tolerance) \
  EXPECT_TRUE(::tw_test::RelativelyNear((actual), (expected), (tolerance)))
