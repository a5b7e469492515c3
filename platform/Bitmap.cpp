#include "Bitmap.h"

#include <QPainter>

#include <algorithm>

TBitmap::TBitmap(int width, int height) {
  SetSize(width, height);
}

void TBitmap::SetSize(int width, int height) {
  width = std::clamp(width, 0, kMaxBitmapSide);
  height = std::clamp(height, 0, kMaxBitmapSide);
  if (width == Width() && height == Height()) return;
  FCanvas.End();
  if (width == 0 || height == 0 || static_cast<long long>(width) * height > kMaxBitmapPixels) {
    FImage = QImage();
    return;
  }
  QImage resized(width, height, QImage::Format_RGB32);
  if (resized.isNull()) {  // out of memory
    FImage = QImage();
    return;
  }
  resized.fill(Qt::white);
  if (!FImage.isNull()) {
    QPainter copy(&resized);
    copy.setCompositionMode(QPainter::CompositionMode_Source);
    copy.drawImage(0, 0, FImage);
  }
  FImage = resized;
}

void TBitmap::Assign(const QImage& image) {
  FCanvas.End();
  if (image.isNull()) {
    FImage = QImage();
    return;
  }
  FImage = image.convertToFormat(QImage::Format_RGB32);
}

const QImage& TBitmap::Image() const {
  FCanvas.End();
  return FImage;
}
