#include "CurvePath.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

const QRectF kFarBox(-kFarPixels, -kFarPixels, 2 * kFarPixels, 2 * kFarPixels);

}  // namespace

namespace {

// What a sample gives the pen.
enum TSampleKind : uint8_t {
  skMissing,  // X or Y is not a number: the pen lifts
  skNear,     // a pixel within the far box
  skFar,      // a pixel beyond the far box
  skLost,     // a pixel that is not a number (a factor overflowed): the pen lifts
};

}  // namespace

void TCurvePath::StartPiece(QPoint p) {
  FStarts.push_back(static_cast<int>(FCount));
  FPieceStart = FCount;
  FPoints[FCount++] = p;
}

void TCurvePath::Trace(std::span<const float> x, std::span<const float> y, int64_t first,
                       int64_t last, const TCurveMap& map, const TTraceOptions& options) {
  FCount = 0;
  FStarts.clear();
  const int64_t count = static_cast<int64_t>(std::min(x.size(), y.size()));
  last = std::min(last, count);
  const int64_t start = std::max<int64_t>(first, 0) + 2;
  if (start >= last) return;
  const size_t n = static_cast<size_t>(last - start);
  // A sample adds at most two points (a cut segment starts a piece of its own).
  if (FPoints.size() < 2 * n + 2) FPoints.resize(2 * n + 2);

  const bool cursorPlaced = options.CursorPlaced, joinRuns = options.JoinRuns;
  const TSegmentVisitor* visit = options.Visit;
  const double xMin = map.XMin, xOffset = map.XOffset, xScale = map.XPixPerUnit;
  const double yMin = map.YMin, yScale = map.YPixPerUnit, height = map.Height;
  const float* xs = x.data() + start;
  const float* ys = y.data() + start;
  const auto pixelX = [&](size_t k) { return (xs[k] - xMin + xOffset) * xScale; };
  const auto pixelY = [&](size_t k) { return height - (ys[k] - yMin) * yScale; };
  const auto kindOf = [&](size_t k) -> uint8_t {
    if (!std::isfinite(xs[k]) || !std::isfinite(ys[k])) return skMissing;
    const double px = pixelX(k), py = pixelY(k);
    if (std::abs(px) <= kFarPixels && std::abs(py) <= kFarPixels) return skNear;
    return std::isfinite(px) && std::isfinite(py) ? skFar : skLost;
  };

  // The pen stands on sample `pen`; an open piece ends in the pen's pixel.
  size_t pen = 0;
  bool penNear = false;
  QPoint penPixel;
  bool open = false;
  bool lifted = true;
  const auto append = [&](QPoint p) {
    const QPoint end = FPoints[FCount - 1];
    // A repeated pixel adds a segment of no length, which colours nothing.
    if (end == p) return;
    // A segment that goes on straight along a row or a column lengthens the last one: a line
    // leaves its end pixel to the next, so the pixels (and the dash pattern) stay the same.
    if (joinRuns && FCount - FPieceStart >= 2) {
      const QPoint before = FPoints[FCount - 2];
      if ((before.x() == end.x() && end.x() == p.x() &&
           (end.y() > before.y()) == (p.y() > end.y())) ||
          (before.y() == end.y() && end.y() == p.y() &&
           (end.x() > before.x()) == (p.x() > end.x()))) {
        FPoints[FCount - 1] = p;
        return;
      }
    }
    FPoints[FCount++] = p;
  };
  const auto moveTo = [&](size_t k, uint8_t kind, QPoint p) {
    pen = k;
    penNear = kind == skNear;
    penPixel = p;
    open = false;
  };
  const auto lineTo = [&](size_t k, uint8_t kind, QPoint p) {
    if (penNear && kind == skNear) {
      if (!open) StartPiece(penPixel);
      append(p);
      open = true;
    } else {
      // A zoom far into the data: keep the part of the segment that can still be seen.
      const QPointF from(pixelX(pen), pixelY(pen)), to(pixelX(k), pixelY(k));
      QPointF a = from, b = to;
      if (ClipSegment(a, b, kFarBox)) {
        if (!open || a != from)
          StartPiece(QPoint(static_cast<int>(a.x()), static_cast<int>(a.y())));
        append(QPoint(static_cast<int>(b.x()), static_cast<int>(b.y())));
        open = b == to;
      } else {
        open = false;
      }
    }
    pen = k;
    penNear = kind == skNear;
    penPixel = p;
  };
  // One sample, whatever its kind and the pen's state.
  const auto step = [&](size_t k, uint8_t kind, QPoint p) {
    if (kind == skMissing || kind == skLost) {
      lifted = true;
      return;
    }
    if (cursorPlaced) {
      const int64_t i = start + static_cast<int64_t>(k);
      int64_t prev = i - 1;
      if (!std::isfinite(x[prev]) || !std::isfinite(y[prev])) {
        prev = i;
        lifted = true;
      }
      if (!(y[i] > yMin || y[prev] > yMin)) {
        // Below the axis the pen only moves; the next segment starts here.
        moveTo(k, kind, p);
        lifted = false;
        return;
      }
      if (visit) {
        (*visit)({x[prev] + xOffset, static_cast<double>(y[prev]), x[i] + xOffset,
                  static_cast<double>(y[i])});
      }
    }
    if (lifted) {
      moveTo(k, kind, p);
      lifted = false;
    } else {
      lineTo(k, kind, p);
    }
  };

  size_t k = 0;
#if defined(__SSE2__)
  // Two samples at a time through the vector unit, operation for operation the arithmetic of
  // pixelX and pixelY, so both ways give the same pixels. While the pen draws on near pixels
  // (the common case) the pair goes straight into the piece.
  const __m128d vxMin = _mm_set1_pd(xMin), vxOffset = _mm_set1_pd(xOffset);
  const __m128d vxScale = _mm_set1_pd(xScale), vyMin = _mm_set1_pd(yMin);
  const __m128d vyScale = _mm_set1_pd(yScale), vHeight = _mm_set1_pd(height);
  const __m128d vFar = _mm_set1_pd(kFarPixels);
  const __m128d vAbs = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
  // Single-precision bits with all exponent bits set: infinite or not a number.
  const __m128i vExponent = _mm_set1_epi32(0x7F800000);
  for (; k + 2 <= n; k += 2) {
    const __m128i xb = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(xs + k));
    const __m128i yb = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(ys + k));
    const __m128d px = _mm_mul_pd(
        _mm_add_pd(_mm_sub_pd(_mm_cvtps_pd(_mm_castsi128_ps(xb)), vxMin), vxOffset), vxScale);
    const __m128d py = _mm_sub_pd(
        vHeight, _mm_mul_pd(_mm_sub_pd(_mm_cvtps_pd(_mm_castsi128_ps(yb)), vyMin), vyScale));
    // Not a number compares false: such a pixel is not near.
    const __m128d near = _mm_and_pd(_mm_cmple_pd(_mm_and_pd(px, vAbs), vFar),
                                    _mm_cmple_pd(_mm_and_pd(py, vAbs), vFar));
    const __m128i missing = _mm_or_si128(_mm_cmpeq_epi32(_mm_and_si128(xb, vExponent), vExponent),
                                         _mm_cmpeq_epi32(_mm_and_si128(yb, vExponent), vExponent));
    alignas(16) int xy[4];  // x0, y0, x1, y1
    _mm_store_si128(reinterpret_cast<__m128i*>(xy),
                    _mm_unpacklo_epi32(_mm_cvttpd_epi32(_mm_and_pd(px, near)),
                                       _mm_cvttpd_epi32(_mm_and_pd(py, near))));
    const QPoint p0(xy[0], xy[1]), p1(xy[2], xy[3]);
    const bool bothNear =
        (_mm_movemask_ps(_mm_castsi128_ps(missing)) & 3) == 0 && _mm_movemask_pd(near) == 3;
    if (bothNear && !cursorPlaced && !lifted && penNear) {
      if (!open) StartPiece(penPixel);
      open = true;
      // Most pairs of a dense curve stay on the pixel already drawn to.
      const QPoint tail = FPoints[FCount - 1];
      if (p0 != tail || p1 != tail) {
        append(p0);
        append(p1);
      }
      pen = k + 1;
      penPixel = p1;
      continue;
    }
    for (size_t lane = 0; lane < 2; ++lane) {
      const uint8_t kind = bothNear ? uint8_t{skNear} : kindOf(k + lane);
      step(k + lane, kind, kind == skNear ? (lane == 0 ? p0 : p1) : QPoint());
    }
  }
#endif
  for (; k < n; ++k) {
    const uint8_t kind = kindOf(k);
    step(k, kind,
         kind == skNear ? QPoint(static_cast<int>(pixelX(k)), static_cast<int>(pixelY(k)))
                        : QPoint());
  }
}

std::span<const QPoint> TCurvePath::Piece(int i) const {
  if (i < 0 || i >= PieceCount()) return {};
  const size_t from = static_cast<size_t>(FStarts[static_cast<size_t>(i)]);
  const size_t to = static_cast<size_t>(i) + 1 < FStarts.size()
                        ? static_cast<size_t>(FStarts[static_cast<size_t>(i) + 1])
                        : FCount;
  return std::span<const QPoint>(FPoints).subspan(from, to - from);
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
