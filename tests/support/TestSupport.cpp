#include "TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

namespace tw_test {

::testing::AssertionResult RelativelyNear(double actual, double expected, double tolerance) {
  const double scale = std::max(std::fabs(expected), 1e-12);
  const double error = std::fabs(actual - expected) / scale;
  if (error <= tolerance) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual << " differs from " << expected << " by "
                                       << error * 100 << " % (allowed " << tolerance * 100
                                       << " %)";
}

TTempDir::TTempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const auto base = std::filesystem::temp_directory_path();
  do {
    FPath = base / ("tracewell-test-" + std::to_string(random()));
  } while (std::filesystem::exists(FPath));
  std::filesystem::create_directories(FPath);
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

std::filesystem::path SourceDir() {
  if (const char* dir = std::getenv("TRACEWELL_SOURCE_DIR")) return dir;
  // Normally the tree known at build time; the variable lets a moved checkout point elsewhere.
  return TRACEWELL_SOURCE_DIR_DEFAULT;
}

}  // namespace tw_test
