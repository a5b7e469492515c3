#pragma once

// Small value types shared by the graph's arithmetic. They carry no toolkit types so the scale
// engine, the scale map and the axis geometry stay testable without a widget.

#include <string_view>

// A pixel position.
struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

// A pixel rectangle whose Right and Bottom edges are exclusive: Width() = Right - Left.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

// Measures texts in the font the caller draws them with (the scale numbers' font).
class TTextMetrics {
 public:
  virtual ~TTextMetrics() = default;
  virtual int TextWidth(std::string_view text) const = 0;
  virtual int TextHeight(std::string_view text) const = 0;
};
