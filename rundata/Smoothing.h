#pragma once

// Fourier low-pass smoothing of channel values: each stretch of finite values is detrended,
// zero-padded to a power of two, transformed, rolled off by a parabolic window whose width
// grows with the level, transformed back and re-trended. Single precision throughout.

#include <cstdint>
#include <span>

// Result bit: a stretch was too long for the largest transform and was left unsmoothed.
inline constexpr uint16_t kSmoothTooLong = 0x1000;
// Levels offered to the user; a level outside is taken as the nearest one.
inline constexpr int kMinSmoothing = 0;
inline constexpr int kMaxSmoothing = 5;

// Smooths every stretch of finite values (from index 1 on; index 0 is never smoothed) at the
// given level 0..5. Returns 0, or kSmoothTooLong when some stretch was left as it was.
uint16_t SmoothChannel(std::span<float> values, int level);

// Smooths y_1..y_n in place with a window of `pts` points. In the usual 1-based notation y_j is
// y[j - 1] here; y must hold at least m values, m the smallest power of two (at least 2) with
// m >= n + round(2 pts). Returns false, leaving y as it was, when n < 2, m > 16384 or y is too
// short.
bool SmoothFFT(std::span<float> y, int n, float pts);

// The work size SmoothFFT needs for n values and `pts`.
int SmoothFFTSize(int n, float pts);

// Forward (isign 1) or inverse (isign -1, unscaled: the result is n times the input) transform
// of 2n real values in place. After the forward transform data[0] and data[1] hold the real
// parts of frequency 0 and of the highest frequency. n must be a power of two from 2 to 8192
// and data must hold 2n values; otherwise false and nothing is changed.
bool RealFourierTransform(std::span<float> data, int n, int isign);

// Complex radix-2 transform of nn values stored as interleaved real and imaginary parts, in
// place, exponent sign isign, unscaled. nn must be a power of two from 1 to 8192 and data must
// hold 2nn values; otherwise false and nothing is changed.
bool FourierTransform(std::span<float> data, int nn, int isign);
