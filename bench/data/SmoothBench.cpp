// SmoothChannel on a maximum-size channel beside the same filter in double precision on FFTW:
// the same straight-line removal, zero padding to the same power of two and parabolic window.

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "RunData.h"
#include "Smoothing.h"

namespace {

constexpr size_t kPoints = 16383;  // the most points a channel has
constexpr int kLevel = 5;

// A noisy power curve. With `gaps`, a no-value point every 2000 points splits it into the
// stretches of a run in several gears; without, one stretch of 16365 values (index 1 on), the
// longest that level 5 still smooths, fills a transform of 16384.
std::vector<float> Channel(bool gaps) {
  std::vector<float> values(kPoints, kNoValue);
  const size_t last = gaps ? kPoints : 16366;
  for (size_t i = 0; i < last; ++i)
    values[i] = 200 + 150 * std::sin(i * 3e-4f) + ((i * 7919) % 17) * 0.3f;
  if (gaps)
    for (size_t i = 2000; i < kPoints; i += 2000)
      values[i] = kNoValue;
  return values;
}

// The reference filter: one FFTW plan pair per transform size, made once as FFTW is meant to be
// used.
class TFftwSmoother {
 public:
  ~TFftwSmoother() {
    for (auto& plan : FPlans) {
      fftw_destroy_plan(plan.forward);
      fftw_destroy_plan(plan.inverse);
    }
    fftw_free(FReal);
    fftw_free(FSpectrum);
  }

  // Smooths every stretch of finite values from index 1 on, as SmoothChannel does.
  void Smooth(std::vector<double>& values, double pts) {
    size_t i = 1;
    while (i < values.size()) {
      while (i < values.size() && !std::isfinite(values[i]))
        ++i;
      const size_t start = i;
      while (i < values.size() && std::isfinite(values[i]))
        ++i;
      const size_t length = i - start;
      if (length < 2 || length < pts || length + 2 * pts >= 16384) continue;
      SmoothStretch(values.data() + start, static_cast<int>(length), pts);
    }
  }

 private:
  struct TPlans {
    int m;
    fftw_plan forward, inverse;
  };

  const TPlans& PlansFor(int m) {
    for (const auto& plan : FPlans)
      if (plan.m == m) return plan;
    if (!FReal) {
      FReal = fftw_alloc_real(16384);
      FSpectrum = fftw_alloc_complex(16384 / 2 + 1);
    }
    FPlans.push_back({m, fftw_plan_dft_r2c_1d(m, FReal, FSpectrum, FFTW_MEASURE),
                      fftw_plan_dft_c2r_1d(m, FSpectrum, FReal, FFTW_MEASURE)});
    return FPlans.back();
  }

  void SmoothStretch(double* y, int n, double pts) {
    int m = 2;
    while (m < n + static_cast<int>(2 * pts + 0.5))
      m *= 2;
    const TPlans& plans = PlansFor(m);
    const double y1 = y[0], yn = y[n - 1], rn1 = 1.0 / (n - 1);
    for (int j = 0; j < n; ++j)
      FReal[j] = y[j] - rn1 * (y1 * (n - 1 - j) + yn * j);
    std::fill(FReal + n, FReal + m, 0.0);
    fftw_execute(plans.forward);
    // The parabolic window, zero from its first zero on; FFTW's round trip scales by m.
    const double cnst = (pts / m) * (pts / m);
    const int half = m / 2;
    FSpectrum[0][0] /= m;
    FSpectrum[0][1] = 0;
    double fac = 1;
    for (int j = 1; j < half; ++j) {
      if (fac != 0) fac = std::max(0.0, 1 - cnst * j * j);
      FSpectrum[j][0] *= fac / m;
      FSpectrum[j][1] *= fac / m;
    }
    FSpectrum[half][0] *= std::max(0.0, 1 - 0.25 * pts * pts) / m;
    FSpectrum[half][1] = 0;
    fftw_execute(plans.inverse);
    for (int j = 0; j < n; ++j)
      y[j] = FReal[j] + rn1 * (y1 * (n - 1 - j) + yn * j);
  }

  std::vector<TPlans> FPlans;
  double* FReal = nullptr;
  fftw_complex* FSpectrum = nullptr;
};

void BM_SmoothChannel(benchmark::State& state) {
  const std::vector<float> input = Channel(state.range(0) != 0);
  std::vector<float> values;
  for (auto _ : state) {
    values = input;
    benchmark::DoNotOptimize(SmoothChannel(values, kLevel));
    benchmark::ClobberMemory();
  }
}

void BM_SmoothFftwDouble(benchmark::State& state) {
  const std::vector<float> channel = Channel(state.range(0) != 0);
  const std::vector<double> input(channel.begin(), channel.end());
  std::vector<double> values;
  TFftwSmoother smoother;
  values = input;
  smoother.Smooth(values, kLevel * 1.8);  // plans made before timing
  for (auto _ : state) {
    values = input;
    smoother.Smooth(values, kLevel * 1.8);
    benchmark::ClobberMemory();
  }
}

}  // namespace

// Argument 0: one stretch filling a 16384-point transform; 1: stretches of 2000 points.
BENCHMARK(BM_SmoothChannel)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SmoothFftwDouble)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
