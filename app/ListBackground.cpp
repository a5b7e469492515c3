#include "ListBackground.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

QImage MakeListBackground(QSize size, QColor from, QColor to) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.fill(from);
  const int n = std::max({std::abs(to.red() - from.red()), std::abs(to.green() - from.green()),
                          std::abs(to.blue() - from.blue())});
  if (n == 0) return image;
  const double dr = static_cast<double>(to.red() - from.red()) / n;
  const double dg = static_cast<double>(to.green() - from.green()) / n;
  const double db = static_cast<double>(to.blue() - from.blue()) / n;
  const double w = static_cast<double>(image.width()) / n;
  QPainter painter(&image);
  for (int i = 0; i < n; ++i) {
    const QColor band(static_cast<int>(i * dr + from.red() + 0.5),
                      static_cast<int>(i * dg + from.green() + 0.5),
                      static_cast<int>(i * db + from.blue() + 0.5));
    const int left = static_cast<int>(i * w + 0.5);
    const int right = static_cast<int>((i + 1) * w + 0.5);
    if (right > left) painter.fillRect(left, 0, right - left, image.height(), band);
  }
  return image;
}
