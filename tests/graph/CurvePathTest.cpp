// Curve pieces: samples mapped to plot pixels, broken where a sample is missing, the segments the
// cursor looks at, and the cuts far outside the plot and at its edges.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "CurvePath.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kMissing = -std::numeric_limits<float>::infinity();

// One pixel per unit on both axes, Y counting down from 100.
TCurveMap UnitMap() {
  TCurveMap map;
  map.Height = 100;
  return map;
}

std::vector<std::vector<QPoint>> Pieces(const TCurvePath& path) {
  std::vector<std::vector<QPoint>> pieces;
  for (int i = 0; i < path.PieceCount(); ++i) {
    const auto piece = path.Piece(i);
    pieces.emplace_back(piece.begin(), piece.end());
  }
  return pieces;
}

TEST(CurvePath, BreaksAtMissingSamplesAndSkipsTheFirstTwo) {
  struct TCase {
    const char* name;
    std::vector<float> y;
    std::vector<std::vector<QPoint>> pieces;
  };
  // X runs 0, 10, 20, ...; samples 0 and 1 are never drawn, the last one neither.
  const std::vector<TCase> cases = {
      {"whole", {1, 2, 3, 4, 5, 6}, {{{20, 97}, {30, 96}, {40, 95}}}},
      {"missing in the middle",
       {1, 2, 3, 4, kMissing, 6, 7, 8},
       {{{20, 97}, {30, 96}}, {{50, 94}, {60, 93}}}},
      // A lone point between gaps draws nothing and makes no piece.
      {"not a number", {1, 2, 3, kNaN, 5, 6, 7}, {{{40, 95}, {50, 94}}}},
      {"every sample missing", {kMissing, kMissing, kMissing, kMissing}, {}},
  };
  for (const TCase& c : cases) {
    std::vector<float> x;
    for (size_t i = 0; i < c.y.size(); ++i)
      x.push_back(10.0f * static_cast<float>(i));
    TCurvePath path;
    path.Trace(x, c.y, 0, static_cast<int64_t>(c.y.size()) - 1, UnitMap());
    EXPECT_EQ(Pieces(path), c.pieces) << c.name;
  }
}

TEST(CurvePath, MapsWithTheOffsetAndTruncatesTowardZero) {
  TCurveMap map;
  map.XMin = 100;
  map.XPixPerUnit = 2.5;
  map.XOffset = 1;  // the line offset shifts the curve before mapping
  map.YMin = -10;
  map.YPixPerUnit = 0.5;
  map.Height = 50;
  const std::vector<float> x = {0, 0, 100.3f, 97.9f, 0};
  const std::vector<float> y = {0, 0, -10, 30.9f, 0};
  TCurvePath path;
  path.Trace(x, y, 0, 4, map);
  // (100.3 - 100 + 1) * 2.5 = 3.25 -> 3; 50 - 0 = 50. (97.9 - 99) * 2.5 = -2.75 -> -2;
  // 50 - 40.9 * 0.5 = 29.55 -> 29.
  EXPECT_EQ(Pieces(path), (std::vector<std::vector<QPoint>>{{{3, 50}, {-2, 29}}}));
}

TEST(CurvePath, DropsRepeatedPixelsWithinAPiece) {
  const std::vector<float> x = {0, 0, 1.0f, 1.2f, 1.4f, 3.0f, 3.1f};
  const std::vector<float> y = {0, 0, 5, 5.1f, 5.3f, 5, 5};
  TCurvePath path;
  path.Trace(x, y, 0, 7, UnitMap());
  EXPECT_EQ(Pieces(path), (std::vector<std::vector<QPoint>>{{{1, 95}, {1, 94}, {3, 95}}}));
}

TEST(CurvePath, WithTheCursorPlacedSegmentsAtTheAxisBottomStayUpAndAreVisited) {
  // YMin 0: the segment between samples 3 and 4 (both 0) is not drawn, the pen only moves.
  const std::vector<float> x = {0, 1, 2, 3, 4, 5, 6};
  const std::vector<float> y = {9, 1, 2, 0, 0, 3, 0};
  std::vector<TCurveSegment> visited;
  const TSegmentVisitor visit = [&](const TCurveSegment& s) { visited.push_back(s); };
  TCurveMap map = UnitMap();
  map.XOffset = 0.5;
  TCurvePath path;
  TTraceOptions options;
  options.CursorPlaced = true;
  options.Visit = &visit;
  path.Trace(x, y, 0, 7, map, options);
  EXPECT_EQ(Pieces(path),
            (std::vector<std::vector<QPoint>>{{{2, 98}, {3, 100}}, {{4, 100}, {5, 97}, {6, 100}}}));
  // Samples 1 -> 2 (the first drawn point starts the piece), 2 -> 3, 4 -> 5 and 5 -> 6, with
  // the offset on X; never 3 -> 4.
  ASSERT_EQ(visited.size(), 4u);
  EXPECT_DOUBLE_EQ(visited[0].X0, 1.5);
  EXPECT_DOUBLE_EQ(visited[0].X1, 2.5);
  EXPECT_DOUBLE_EQ(visited[2].X0, 4.5);
  EXPECT_DOUBLE_EQ(visited[2].Y1, 3);
}

TEST(CurvePath, KeepsTheVisiblePartOfSegmentsThatReachFarOutside) {
  // Zoomed a million times: sample 3 lands 1e9 pixels away, far past any int-safe range.
  TCurveMap map = UnitMap();
  map.XPixPerUnit = 1048576;
  map.YPixPerUnit = 1048576;
  map.Height = 0;
  const float back = 1.0f / 32768;  // 32 pixels
  const std::vector<float> x = {0, 0, 0, 1000, back};
  const std::vector<float> y = {0, 0, 0, -1000, -back};
  TCurvePath path;
  path.Trace(x, y, 0, 5, map);
  ASSERT_EQ(path.PieceCount(), 2);
  // Out along the diagonal to the edge of the far box, and back in on the same diagonal.
  const auto out = path.Piece(0);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], QPoint(0, 0));
  EXPECT_EQ(out[1], QPoint(static_cast<int>(kFarPixels), static_cast<int>(kFarPixels)));
  const auto in = path.Piece(1);
  EXPECT_EQ(in.front(), QPoint(static_cast<int>(kFarPixels), static_cast<int>(kFarPixels)));
  EXPECT_EQ(in.back(), QPoint(32, 32));
}

TEST(CurvePath, ClipsPolylinesToARectangle) {
  const std::vector<QPoint> line = {{-10, 5}, {10, 5}, {30, 5}, {30, -20}, {5, 40}};
  std::vector<std::vector<QPointF>> parts;
  ClipPolyline(line, QRectF(0, 0, 20, 20), [&](std::span<const QPointF> part) {
    parts.emplace_back(part.begin(), part.end());
  });
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], (std::vector<QPointF>{{0, 5}, {10, 5}, {20, 5}}));
  // The last segment crosses the rectangle from its right edge to its bottom edge.
  ASSERT_EQ(parts[1].size(), 2u);
  EXPECT_NEAR(parts[1][0].x(), 20, 1e-9);
  EXPECT_NEAR(parts[1][1].y(), 20, 1e-9);
}

}  // namespace
