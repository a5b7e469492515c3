#pragma once

// The curve of one channel as pixel polylines: the samples mapped into a plot's pixels, broken
// where a sample is missing, and the segments the vertical cursor looks at. Nothing here draws,
// so the pieces can be checked on plain numbers and drawn onto any surface.

#include <QPoint>
#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// How data values become plot pixels: x pixels count from the plot's left edge, y pixels down
// from its top, so a value at YMin lies on the bottom edge (Height).
struct TCurveMap {
  double XMin = 0;  // FAxisMin of the X axis
  double XPixPerUnit = 1;
  double XOffset = 0;  // the line offset in X units, added to every X value
  double YMin = 0;     // FAxisMin of the line's Y axis
  double YPixPerUnit = 1;
  int Height = 0;  // of the plot
};

// One drawn segment of a curve in data units, X offset included.
struct TCurveSegment {
  double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};

using TSegmentVisitor = std::function<void(const TCurveSegment&)>;

struct TTraceOptions {
  bool CursorPlaced = false;
  // Straight runs along a row or column become one segment. The pixels stay the same for
  // one-pixel pens and solid wide ones; a wide dashed pen measures its pattern along every
  // segment, so it needs them all.
  bool JoinRuns = true;
  const TSegmentVisitor* Visit = nullptr;  // the segments the cursor looks at
};

// Pixel coordinates beyond this distance from the plot are cut off where a segment crosses it,
// so that any zoom converts to int without overflow and without bending the visible part.
inline constexpr double kFarPixels = 4194304;  // 2^22

// The polylines of one curve. The buffers are kept between traces, so a redraw allocates
// nothing once they have grown to the longest curve.
class TCurvePath {
 public:
  // Traces samples first+2 .. last-1 of (x, y); the first two samples of a gear segment are never
  // drawn. A sample whose X or Y is not a finite number lifts the pen. With the vertical cursor
  // placed the pen also stays up over segments whose both ends lie at or below YMin, and every
  // drawn segment (from the previous valid sample) is passed to the visitor, when given.
  void Trace(std::span<const float> x, std::span<const float> y, int64_t first, int64_t last,
             const TCurveMap& map, const TTraceOptions& options = {});

  int PieceCount() const { return static_cast<int>(FStarts.size()); }
  // Piece i: the points of one connected polyline. Repeats of a pixel are dropped (and straight
  // runs joined, see TTraceOptions), which leaves the drawn pixels as they are; a piece may hold
  // a single point, which draws nothing.
  std::span<const QPoint> Piece(int i) const;

 private:
  void StartPiece(QPoint p);

  std::vector<QPoint> FPoints;  // room for the longest trace so far; the first FCount are used
  size_t FCount = 0;
  std::vector<int> FStarts;  // first point of each piece
  size_t FPieceStart = 0;    // first point of the last piece
};

// Cuts a segment to the rectangle (Liang-Barsky); false when no part of it lies inside.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& rect);

// The parts of a polyline inside the rectangle, each passed to `output` (two points or more).
// Vector surfaces that cannot clip (SVG) get the curves cut to the plot this way.
void ClipPolyline(std::span<const QPoint> points, const QRectF& rect,
                  const std::function<void(std::span<const QPointF>)>& output);
