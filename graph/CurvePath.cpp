#include "CurvePath.h"

#include <algorithm>
#include <cmath>

namespace {

bool InFarBox(double x, double y) {
  return std::abs(x) <= kFarPixels && std::abs(y) <= kFarPixels;
}

// Pixels truncate toward zero; the caller keeps the value inside the far box.
QPoint Pixel(double x, double y) {
  return QPoint(static_cast<int>(x), static_cast<int>(y));
}

const QRectF kFarBox(-kFarPixels, -kFarPixels, 2 * kFarPixels, 2 * kFarPixels);

}  // namespace

void TCurvePath::Trace(std::span<const float> x, std::span<const float> y, int64_t first,
                       int64_t last, const TCurveMap& map, bool cursorPlaced,
                       const TSegmentVisitor* visit) {
  FPoints.clear();
  FStarts.clear();
  FPieceOpen = false;
  const int64_t count = static_cast<int64_t>(std::min(x.size(), y.size()));
  last = std::min(last, count);
  const int64_t start = std::max<int64_t>(first, 0) + 2;
  const auto valid = [&](int64_t i) { return std::isfinite(x[i]) && std::isfinite(y[i]); };

  bool lifted = true;
  for (int64_t i = start; i < last; ++i) {
    if (!valid(i)) {
      lifted = true;
      continue;
    }
    const double px = (x[i] - map.XMin + map.XOffset) * map.XPixPerUnit;
    const double py = map.Height - (y[i] - map.YMin) * map.YPixPerUnit;
    if (!std::isfinite(px) || !std::isfinite(py)) {
      lifted = true;
      continue;
    }
    if (cursorPlaced) {
      int64_t prev = i - 1;
      if (!valid(prev)) {
        prev = i;
        lifted = true;
      }
      if (!(y[i] > map.YMin || y[prev] > map.YMin)) {
        // Below the axis the pen only moves; the next segment starts here.
        MoveTo(px, py);
        lifted = false;
        continue;
      }
      if (visit) {
        (*visit)({x[prev] + map.XOffset, static_cast<double>(y[prev]), x[i] + map.XOffset,
                  static_cast<double>(y[i])});
      }
    }
    if (lifted) {
      MoveTo(px, py);
      lifted = false;
    } else {
      LineTo(px, py);
    }
  }
}

std::span<const QPoint> TCurvePath::Piece(int i) const {
  if (i < 0 || i >= PieceCount()) return {};
  const size_t from = static_cast<size_t>(FStarts[static_cast<size_t>(i)]);
  const size_t to = static_cast<size_t>(i) + 1 < FStarts.size()
                        ? static_cast<size_t>(FStarts[static_cast<size_t>(i) + 1])
                        : FPoints.size();
  return std::span<const QPoint>(FPoints).subspan(from, to - from);
}

void TCurvePath::MoveTo(double x, double y) {
  FPenX = x;
  FPenY = y;
  FPieceOpen = false;
}

void TCurvePath::LineTo(double x, double y) {
  if (InFarBox(FPenX, FPenY) && InFarBox(x, y)) {
    if (!FPieceOpen) StartPiece(Pixel(FPenX, FPenY));
    Append(Pixel(x, y));
  } else {
    // A zoom far into the data: keep the part of the segment that can still be seen.
    QPointF a(FPenX, FPenY), b(x, y);
    if (ClipSegment(a, b, kFarBox)) {
      if (!FPieceOpen || a != QPointF(FPenX, FPenY)) StartPiece(Pixel(a.x(), a.y()));
      Append(Pixel(b.x(), b.y()));
      FPieceOpen = b == QPointF(x, y);
    } else {
      FPieceOpen = false;
    }
  }
  FPenX = x;
  FPenY = y;
}

void TCurvePath::StartPiece(QPoint p) {
  FStarts.push_back(static_cast<int>(FPoints.size()));
  FPoints.push_back(p);
  FPieceOpen = true;
}

void TCurvePath::Append(QPoint p) {
  // A repeated pixel adds a segment of no length, which colours nothing.
  if (FPoints.back() != p) FPoints.push_back(p);
}

bool ClipSegment(QPointF& a, QPointF& b, const QRectF& rect) {
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  double t0 = 0, t1 = 1;
  const auto edge = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double r = q / p;
    if (p < 0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
    return true;
  };
  if (!edge(-dx, a.x() - rect.left()) || !edge(dx, rect.right() - a.x()) ||
      !edge(-dy, a.y() - rect.top()) || !edge(dy, rect.bottom() - a.y()))
    return false;
  const QPointF from = a;
  if (t1 < 1) b = QPointF(from.x() + t1 * dx, from.y() + t1 * dy);
  if (t0 > 0) a = QPointF(from.x() + t0 * dx, from.y() + t0 * dy);
  return true;
}

void ClipPolyline(std::span<const QPoint> points, const QRectF& rect,
                  const std::function<void(std::span<const QPointF>)>& output) {
  std::vector<QPointF> part;
  const auto flush = [&] {
    if (part.size() >= 2) output(part);
    part.clear();
  };
  for (size_t i = 1; i < points.size(); ++i) {
    QPointF a = points[i - 1], b = points[i];
    if (!ClipSegment(a, b, rect)) {
      flush();
      continue;
    }
    if (part.empty() || part.back() != a) {
      flush();
      part.push_back(a);
    }
    part.push_back(b);
    if (b != QPointF(points[i])) flush();
  }
  flush();
}
