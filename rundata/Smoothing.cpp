#include "Smoothing.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The transforms follow the classic single-precision routines: radix-2 complex transform with
// bit-reversal reordering and Danielson-Lanczos passes, the real transform by way of a complex
// one of half the length plus a split step, and the smoothing on top. Their numbers are kept
// exactly: the literal constants, the rotation recurrences in double precision, the butterfly
// temporaries rounded to single precision. What differs is only where work is done: rotations
// and the reordering are computed once per length instead of in every call, and the butterflies
// of a pass run block by block over contiguous values. Each butterfly still sees the very same
// operands, so the results are bit for bit those of the textbook loops.

namespace {

// Index i of the usual 1-based notation is element i - 1: the loops read as they are usually
// stated, without pointer tricks.
class TOneBased {
 public:
  explicit TOneBased(float* data) : FData(data) {}
  float& operator[](int i) const { return FData[i - 1]; }

 private:
  float* FData;
};

// One transform handles at most this many floats: a channel's 16383 points padded.
constexpr int kMaxFloats = 16384;
constexpr int kMaxComplex = kMaxFloats / 2;

bool IsPowerOfTwo(int n) {
  return n > 0 && (n & (n - 1)) == 0;
}
size_t Log2(int n) {
  return static_cast<size_t>(std::countr_zero(static_cast<unsigned>(n)));
}

// `count` rotations by theta each by the trigonometric recurrence, starting at angle 0 or
// (`skipFirst`) at theta; `emit` receives each (wr, wi).
template <class F>
void Recurrence(double theta, bool skipFirst, int count, F emit) {
  double wtemp = std::sin(0.5 * theta);
  const double wpr = -2.0 * wtemp * wtemp;
  const double wpi = std::sin(theta);
  double wr = skipFirst ? 1.0 + wpr : 1.0;
  double wi = skipFirst ? wpi : 0.0;
  for (int i = 0; i < count; ++i) {
    emit(wr, wi);
    wtemp = wr;
    wr = wtemp * wpr - wi * wpi + wr;
    wi = wi * wpr + wtemp * wpi + wi;
  }
}

// The fixed numbers of the transforms for one exponent sign and every length.
class TTransformTables {
 public:
  explicit TTransformTables(int isign) {
    // The passes of the complex transform: blocks of mmax = 2 .. kMaxFloats / 2 floats. Each
    // rotation is stored as (wr, wr, -wi, wi), the lanes the butterflies multiply with.
    for (int mmax = 2; mmax < kMaxFloats; mmax *= 2) {
      FPassOffsets.push_back(FPass.size());
      Recurrence(6.28318530717959 / (isign * mmax), false, mmax / 2, [this](double wr, double wi) {
        FPass.insert(FPass.end(), {wr, wr, -wi, wi});
      });
    }
    // The split step of the real transform of n = 2 .. kMaxComplex complex values.
    for (int n = 2; n <= kMaxComplex; n *= 2) {
      FSplitOffsets.push_back(FSplit.size());
      Recurrence(isign * (3.141592653589793 / static_cast<double>(n)), true, n / 2 - 1,
                 [this](double wr, double wi) {
                   FSplit.insert(FSplit.end(), {wr, wi});
                 });
    }
  }

  // The mmax / 2 rotations of the pass over blocks of mmax floats, four doubles each.
  const double* Pass(int mmax) const { return FPass.data() + FPassOffsets[Log2(mmax) - 1]; }
  // The rotations (wr, wi) of the split step of n complex values, for i = 2 .. n / 2.
  const double* Split(int n) const { return FSplit.data() + FSplitOffsets[Log2(n) - 1]; }

 private:
  std::vector<double> FPass, FSplit;
  std::vector<size_t> FPassOffsets, FSplitOffsets;
};

const TTransformTables& Tables(int isign) {
  static const TTransformTables forward(1), inverse(-1);
  return isign == 1 ? forward : inverse;
}

// The pairs of complex positions that the bit-reversal reordering swaps, for every length.
class TReorderTables {
 public:
  TReorderTables() {
    for (int nn = 1; nn <= kMaxComplex; nn *= 2) {
      FOffsets.push_back(FPairs.size());
      // The textbook walk of the reversed index j, in 1-based float positions.
      const int n = nn << 1;
      int j = 1;
      for (int i = 1; i < n; i += 2) {
        if (j > i) FPairs.push_back({(i - 1) / 2, (j - 1) / 2});
        int m = n >> 1;
        while (m >= 2 && j > m) {
          j -= m;
          m >>= 1;
        }
        j += m;
      }
    }
    FOffsets.push_back(FPairs.size());
  }

  // The swaps of a transform of nn complex values.
  std::pair<const std::pair<int, int>*, const std::pair<int, int>*> Swaps(int nn) const {
    const size_t k = Log2(nn);
    return {FPairs.data() + FOffsets[k], FPairs.data() + FOffsets[k + 1]};
  }

 private:
  std::vector<std::pair<int, int>> FPairs;
  std::vector<size_t> FOffsets;
};

const TReorderTables& Reorder() {
  static const TReorderTables tables;
  return tables;
}

// The butterflies of one block: count / 2 complex values at lower and upper, the rotations
// from the pass table. The temporaries are single precision, the products double.
#if defined(__SSE2__)
// The rotation (wr, wi) times the upper value (ur, ui) in double precision lanes:
// (wr ur + -wi ui, wr ui + wi ur), which rounds exactly as wr ur - wi ui and wr ui + wi ur do,
// then single precision in the two low lanes.
inline __m128 Rotate(__m128d upper, const double* rotation) {
  const __m128d a = _mm_mul_pd(_mm_loadu_pd(rotation), upper);
  const __m128d b = _mm_mul_pd(_mm_loadu_pd(rotation + 2), _mm_shuffle_pd(upper, upper, 1));
  return _mm_cvtpd_ps(_mm_add_pd(a, b));
}

void Butterflies(float* lower, float* upper, const double* rotations, int count) {
  int m = 0;
  // Two butterflies at a time: four floats in, two rotations in double, four floats out.
  for (; m + 4 <= count; m += 4) {
    const __m128 up = _mm_loadu_ps(upper + m);
    const __m128 first = Rotate(_mm_cvtps_pd(up), rotations + 2 * m);
    const __m128 second = Rotate(_mm_cvtps_pd(_mm_movehl_ps(up, up)), rotations + 2 * m + 4);
    const __m128 temp = _mm_movelh_ps(first, second);
    const __m128 low = _mm_loadu_ps(lower + m);
    _mm_storeu_ps(upper + m, _mm_sub_ps(low, temp));
    _mm_storeu_ps(lower + m, _mm_add_ps(low, temp));
  }
  for (; m < count; m += 2) {
    const __m128d up = _mm_cvtps_pd(
        _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(upper + m))));
    const __m128 temp = Rotate(up, rotations + 2 * m);
    const __m128 low =
        _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(lower + m)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(upper + m),
                     _mm_castps_si128(_mm_sub_ps(low, temp)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(lower + m),
                     _mm_castps_si128(_mm_add_ps(low, temp)));
  }
}
#else
void Butterflies(float* lower, float* upper, const double* rotations, int count) {
  for (int m = 0; m < count; m += 2) {
    const double wr = rotations[2 * m], wi = rotations[2 * m + 3];
    const float tempr = static_cast<float>(wr * upper[m] - wi * upper[m + 1]);
    const float tempi = static_cast<float>(wr * upper[m + 1] + wi * upper[m]);
    upper[m] = lower[m] - tempr;
    upper[m + 1] = lower[m + 1] - tempi;
    lower[m] += tempr;
    lower[m + 1] += tempi;
  }
}
#endif

void FourierTransformUnchecked(float* raw, int nn, int isign) {
  // Bit-reversal reordering: swaps of whole complex values.
  const auto [first, last] = Reorder().Swaps(nn);
  for (auto swap = first; swap != last; ++swap) {
    float* a = raw + 2 * swap->first;
    float* b = raw + 2 * swap->second;
    std::swap(a[0], b[0]);
    std::swap(a[1], b[1]);
  }
  // Danielson-Lanczos passes.
  const int n = nn << 1;
  const TTransformTables& tables = Tables(isign);
  for (int mmax = 2; mmax < n; mmax *= 2) {
    const double* rotations = tables.Pass(mmax);
    for (int block = 0; block < n; block += 2 * mmax)
      Butterflies(raw + block, raw + block + mmax, rotations, mmax);
  }
}

void RealFourierTransformUnchecked(float* raw, int n, int isign) {
  TOneBased data(raw);
  const float c1 = 0.5f;
  float c2;
  if (isign == 1) {
    c2 = -0.5f;
    FourierTransformUnchecked(raw, n, 1);
  } else {
    c2 = 0.5f;
  }
  const double* rotations = Tables(isign).Split(n);
  const int n2p3 = 2 * n + 3;
  for (int i = 2; i <= n / 2; ++i) {
    const int i1 = i + i - 1;
    const int i2 = 1 + i1;
    const int i3 = n2p3 - i2;
    const int i4 = 1 + i3;
    const double wr = rotations[2 * i - 4], wi = rotations[2 * i - 3];
    const float h1r = c1 * (data[i1] + data[i3]);
    const float h1i = c1 * (data[i2] - data[i4]);
    const float h2r = -c2 * (data[i2] + data[i4]);
    const float h2i = c2 * (data[i1] - data[i3]);
    data[i1] = static_cast<float>(h1r + wr * h2r - wi * h2i);
    data[i2] = static_cast<float>(h1i + wr * h2i + wi * h2r);
    data[i3] = static_cast<float>(h1r - wr * h2r + wi * h2i);
    data[i4] = static_cast<float>(-h1i + wr * h2i + wi * h2r);
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

bool ValidTransform(std::span<float> data, int complexCount, int minCount, int isign) {
  return complexCount >= minCount && complexCount <= kMaxComplex && IsPowerOfTwo(complexCount) &&
         data.size() >= 2 * static_cast<size_t>(complexCount) && (isign == 1 || isign == -1);
}

// y[j] += sign x rn1 x (y1 (n - j) + yn (j - 1)) for j = 1..n: the straight line through the
// end points. The float counters stay exact integers (n < 2^24).
void AddLine(TOneBased y, int n, float y1, float yn, float factor) {
  float down = static_cast<float>(n - 1), up = 0.0f;
  for (int j = 1; j <= n; ++j, down -= 1.0f, up += 1.0f)
    y[j] += factor * (y1 * down + yn * up);
}

}  // namespace

bool FourierTransform(std::span<float> data, int nn, int isign) {
  if (!ValidTransform(data, nn, 1, isign)) return false;
  FourierTransformUnchecked(data.data(), nn, isign);
  return true;
}

bool RealFourierTransform(std::span<float> data, int n, int isign) {
  if (!ValidTransform(data, n, 2, isign)) return false;
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
  if (n < 2 || n > kMaxFloats || !(pts >= 0) || pts > kMaxFloats) return false;
  const int m = SmoothFFTSize(n, pts);
  if (m > kMaxFloats || values.size() < static_cast<size_t>(m)) return false;

  TOneBased y(values.data());
  float cnst = pts / static_cast<float>(m);
  cnst = cnst * cnst;
  const float y1 = y[1];
  const float yn = y[n];
  const float rn1 = static_cast<float>(1.0 / (n - 1));
  // Remove the straight line through the end points so that the padding meets no step.
  AddLine(y, n, y1, yn, -rn1);
  std::fill(values.begin() + n, values.begin() + m, 0.0f);
  const int mo2 = m >> 1;
  // mo2 is a power of two: multiplying by its reciprocal is the same as dividing.
  const double perPoint = 1.0 / mo2;
  RealFourierTransformUnchecked(values.data(), mo2, 1);
  y[1] /= static_cast<float>(mo2);
  // The parabolic window; from its first zero on every higher frequency is dropped.
  int j = 1;
  for (; j < mo2; ++j) {
    const int k = 2 * j + 1;
    float fac =
        static_cast<float>((1.0 - cnst * static_cast<float>(j) * static_cast<float>(j)) * perPoint);
    if (fac < 0.0f) fac = 0.0f;
    y[k] = fac * y[k];
    y[k + 1] = fac * y[k + 1];
    if (fac == 0.0f) break;
  }
  if (j < mo2) std::fill(values.begin() + 2 * j + 2, values.begin() + m, 0.0f);
  float fac = static_cast<float>((1.0 - 0.25 * pts * pts) * perPoint);
  if (fac < 0.0f) fac = 0.0f;
  y[2] *= fac;  // the highest frequency
  RealFourierTransformUnchecked(values.data(), mo2, -1);
  AddLine(y, n, y1, yn, rn1);
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
    if (fLength + 2 * pts >= static_cast<float>(kMaxFloats)) {
      code |= kSmoothTooLong;
      continue;
    }
    size_t m = 2;
    while (static_cast<float>(m) < fLength + 2 * pts)
      m *= 2;
    work.resize(m);
    std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(start), length, work.begin());
    SmoothFFT(work, static_cast<int>(length), pts);
    std::copy_n(work.begin(), length, values.begin() + static_cast<std::ptrdiff_t>(start));
  }
  return code;
}
