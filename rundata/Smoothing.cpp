#include "Smoothing.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The transforms are written in the 1-based notation in which they are usually stated; this
// view maps index i to element i - 1 so the loops read the same without pointer tricks.
class TOneBased {
 public:
  explicit TOneBased(float* data) : FData(data) {}
  float& operator[](int i) const { return FData[i - 1]; }

 private:
  float* FData;
};

bool IsPowerOfTwo(int n) {
  return n > 0 && (n & (n - 1)) == 0;
}

// The transforms of at most 16384 floats, the limit of a channel.
constexpr int kMaxTransform = 16384;

void FourierTransformUnchecked(float* raw, int nn, int isign) {
  TOneBased data(raw);
  const int n = nn << 1;
  int j = 1;
  for (int i = 1; i < n; i += 2) {
    if (j > i) {
      std::swap(data[j], data[i]);
      std::swap(data[j + 1], data[i + 1]);
    }
    int m = n >> 1;
    while (m >= 2 && j > m) {
      j -= m;
      m >>= 1;
    }
    j += m;
  }
  int mmax = 2;
  while (n > mmax) {
    const int istep = 2 * mmax;
    const double theta = 6.28318530717959 / (isign * mmax);
    double wtemp = std::sin(0.5 * theta);
    const double wpr = -2.0 * wtemp * wtemp;
    const double wpi = std::sin(theta);
    double wr = 1.0;
    double wi = 0.0;
    for (int m = 1; m < mmax; m += 2) {
      for (int i = m; i <= n; i += istep) {
        const int k = i + mmax;
        // The butterfly temporaries are single precision, the rotation below double.
        const float tempr = static_cast<float>(wr * data[k] - wi * data[k + 1]);
        const float tempi = static_cast<float>(wr * data[k + 1] + wi * data[k]);
        data[k] = data[i] - tempr;
        data[k + 1] = data[i + 1] - tempi;
        data[i] += tempr;
        data[i + 1] += tempi;
      }
      wtemp = wr;
      wr = wtemp * wpr - wi * wpi + wr;
      wi = wi * wpr + wtemp * wpi + wi;
    }
    mmax = istep;
  }
}

void RealFourierTransformUnchecked(float* raw, int n, int isign) {
  TOneBased data(raw);
  const float c1 = 0.5f;
  float c2;
  double theta = 3.141592653589793 / static_cast<double>(n);
  if (isign == 1) {
    c2 = -0.5f;
    FourierTransformUnchecked(raw, n, 1);
  } else {
    c2 = 0.5f;
    theta = -theta;
  }
  double wtemp = std::sin(0.5 * theta);
  const double wpr = -2.0 * wtemp * wtemp;
  const double wpi = std::sin(theta);
  double wr = 1.0 + wpr;
  double wi = wpi;
  const int n2p3 = 2 * n + 3;
  for (int i = 2; i <= n / 2; ++i) {
    const int i1 = i + i - 1;
    const int i2 = 1 + i1;
    const int i3 = n2p3 - i2;
    const int i4 = 1 + i3;
    const float h1r = c1 * (data[i1] + data[i3]);
    const float h1i = c1 * (data[i2] - data[i4]);
    const float h2r = -c2 * (data[i2] + data[i4]);
    const float h2i = c2 * (data[i1] - data[i3]);
    data[i1] = static_cast<float>(h1r + wr * h2r - wi * h2i);
    data[i2] = static_cast<float>(h1i + wr * h2i + wi * h2r);
    data[i3] = static_cast<float>(h1r - wr * h2r + wi * h2i);
    data[i4] = static_cast<float>(-h1i + wr * h2i + wi * h2r);
    wtemp = wr;
    wr = wtemp * wpr - wi * wpi + wr;
    wi = wi * wpr + wtemp * wpi + wi;
  }
  const float h1r = data[1];
  if (isign == 1) {
    data[1] = h1r + data[2];
    data[2] = h1r - data[2];
  } else {
    data[1] = c1 * (h1r + data[2]);
    data[2] = c1 * (h1r - data[2]);
    FourierTransformUnchecked(raw, n, -1);
  }
}

bool ValidTransform(std::span<float> data, int complexCount, int minCount) {
  return complexCount >= minCount && complexCount <= kMaxTransform && IsPowerOfTwo(complexCount) &&
         data.size() >= 2 * static_cast<size_t>(complexCount);
}

}  // namespace

bool FourierTransform(std::span<float> data, int nn, int isign) {
  if (!ValidTransform(data, nn, 1) || (isign != 1 && isign != -1)) return false;
  FourierTransformUnchecked(data.data(), nn, isign);
  return true;
}

bool RealFourierTransform(std::span<float> data, int n, int isign) {
  if (!ValidTransform(data, n, 2) || (isign != 1 && isign != -1)) return false;
  RealFourierTransformUnchecked(data.data(), n, isign);
  return true;
}

int SmoothFFTSize(int n, float pts) {
  const int nmin = n + static_cast<int>(2.0 * pts + 0.5);
  int m = 2;
  while (m < nmin)
    m *= 2;
  return m;
}

bool SmoothFFT(std::span<float> values, int n, float pts) {
  // A window wider than any transform, or a negative one, has no meaning here.
  if (n < 2 || !(pts >= 0) || pts > kMaxTransform) return false;
  const int m = SmoothFFTSize(n, pts);
  if (m > 2 * kMaxTransform || values.size() < static_cast<size_t>(m)) return false;

  TOneBased y(values.data());
  float cnst = pts / static_cast<float>(m);
  cnst = cnst * cnst;
  const float y1 = y[1];
  const float yn = y[n];
  const float rn1 = static_cast<float>(1.0 / (n - 1));
  // Remove the straight line through the end points so that the padding meets no step.
  for (int j = 1; j <= n; ++j)
    y[j] += -rn1 * (y1 * static_cast<float>(n - j) + yn * static_cast<float>(j - 1));
  for (int j = n + 1; j <= m; ++j)
    y[j] = 0.0f;
  const int mo2 = m >> 1;
  RealFourierTransformUnchecked(values.data(), mo2, 1);
  y[1] /= static_cast<float>(mo2);
  float fac = 1.0f;
  for (int j = 1; j < mo2; ++j) {
    const int k = 2 * j + 1;
    if (fac != 0.0f) {
      fac = static_cast<float>((1.0 - cnst * static_cast<float>(j) * static_cast<float>(j)) / mo2);
      if (fac < 0.0f) fac = 0.0f;
      y[k] = fac * y[k];
      y[k + 1] = fac * y[k + 1];
    } else {
      y[k] = y[k + 1] = 0.0f;
    }
  }
  fac = static_cast<float>((1.0 - 0.25 * pts * pts) / mo2);
  if (fac < 0.0f) fac = 0.0f;
  y[2] *= fac;  // the highest frequency
  RealFourierTransformUnchecked(values.data(), mo2, -1);
  for (int j = 1; j <= n; ++j)
    y[j] += rn1 * (y1 * static_cast<float>(n - j) + yn * static_cast<float>(j - 1));
  return true;
}

uint16_t SmoothChannel(std::span<float> values, int level) {
  level = std::clamp(level, kMinSmoothing, kMaxSmoothing);
  const float pts = static_cast<float>(level * 1.8);
  const size_t count = values.size();
  uint16_t code = 0;
  std::vector<float> work;
  size_t i = 1;  // index 0 is never smoothed
  while (i < count) {
    while (i < count && !std::isfinite(values[i]))
      ++i;
    if (i >= count) break;
    const size_t start = i;
    while (i < count && std::isfinite(values[i]))
      ++i;
    const size_t length = i - start;
    const float fLength = static_cast<float>(length);
    if (fLength < pts || length == 1) continue;
    if (fLength + 2 * pts >= static_cast<float>(kMaxTransform)) {
      code |= kSmoothTooLong;
      continue;
    }
    size_t m = 2;
    while (static_cast<float>(m) < fLength + 2 * pts)
      m *= 2;
    work.assign(m, 0.0f);
    std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(start), length, work.begin());
    SmoothFFT(work, static_cast<int>(length), pts);
    std::copy_n(work.begin(), length, values.begin() + static_cast<std::ptrdiff_t>(start));
  }
  return code;
}
