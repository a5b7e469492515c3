#pragma once

// An off-screen image with its canvas: 32 bits per pixel, opaque, white where nothing was
// drawn yet.

#include "Canvas.h"

#include <QImage>

inline constexpr int kMaxBitmapSide = 32767;                       // pixels per side
inline constexpr long long kMaxBitmapPixels = 64LL * 1024 * 1024;  // 256 MiB of pixels

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return FImage.width(); }
  int Height() const { return FImage.height(); }
  bool Empty() const { return FImage.isNull(); }

  // Resizes, keeping the pixels that stay inside; new pixels are white. Negative sizes count
  // as 0, and a size beyond the limits above leaves the bitmap empty.
  void SetSize(int width, int height);
  // Takes a copy of `image`'s pixels and size.
  void Assign(const QImage& image);

  TCanvas& Canvas() { return FCanvas; }
  // The pixels, with all drawing so far finished.
  const QImage& Image() const;

 private:
  QImage FImage;
  mutable TCanvas FCanvas{&FImage};
};
