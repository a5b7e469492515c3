#pragma once

// A drawing surface in the manner of the class library's canvas, over a QPainter: a pen, a
// brush and a font that the operations use, a pen position, pixel coordinates with the
// right and bottom edges of rectangles excluded, and lines that do not colour their end
// point. The surface is any QPaintDevice: an image (TBitmap), a recording (TMetafile), a
// widget, an SVG or PDF writer.

#include "Color.h"
#include "Font.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

class TMetafile;

// Pen styles, numbered as the program stores them.
enum TPenStyle : std::uint8_t {
  psSolid = 0,
  psDash = 1,
  psDot = 2,
  psDashDot = 3,
  psDashDotDot = 4,
  psClear = 5,
  psInsideFrame = 6,  // solid; a shape's outline stays inside its rectangle
};

// How the pen combines with the surface. The inverting modes work on images; other surfaces
// draw them as plain copies.
enum TPenMode : std::uint8_t {
  pmCopy,
  pmNot,  // inverts what lies under the pen
  pmXor,
  pmNotXor,  // a black pen inverts, so drawing the same figure twice restores the picture
};

// The canvas pen (the run's own pens are the data code's `TPen`; this is their drawing form).
struct TCanvasPen {
  TColor FColor = clBlack;
  int FWidth = 1;  // pixels; 0 draws one pixel wide at any scale
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  bool operator==(const TCanvasPen&) const = default;
};

enum TBrushStyle : std::uint8_t {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross,  // hatch lines only; what lies between them shows through
};

struct TBrush {
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  bool operator==(const TBrush&) const = default;
};

// The Qt pen that draws `pen` (dash patterns of the original: dash 18-6, dot 3-3, ...).
QPen ToQPen(const TCanvasPen& pen);
QBrush ToQBrush(const TBrush& brush);

class TCanvas {
 public:
  // Draws on `device` (borrowed; it must outlive the canvas or be replaced first).
  explicit TCanvas(QPaintDevice* device = nullptr);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // Ends painting on the current surface and draws on `device` from now on.
  void SetDevice(QPaintDevice* device);
  QPaintDevice* Device() const { return FDevice; }
  // Finishes the drawing so far, so that the surface can be read, resized or replayed. The
  // next operation begins again; pen, brush, font and clipping are kept.
  void End();

  TCanvasPen& Pen() { return FPen; }
  TBrush& Brush() { return FBrush; }
  TFont& Font() { return FFont; }
  const TCanvasPen& Pen() const { return FPen; }
  const TBrush& Brush() const { return FBrush; }
  const TFont& Font() const { return FFont; }

  QPoint PenPos() const { return FPenPos; }
  void MoveTo(int x, int y);
  // A line from the pen position to (x, y), which it does not colour; the pen moves there.
  void LineTo(int x, int y);
  // Connected lines through the points; the last point is not coloured.
  void Polyline(std::span<const QPoint> points);

  // Shapes: outlined with the pen, filled with the brush; (right, bottom) is excluded.
  void Rectangle(int left, int top, int right, int bottom);
  // Corners are quarter ellipses `ellipseWidth` × `ellipseHeight` (twice the corner radius).
  void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
  void Ellipse(int left, int top, int right, int bottom);
  // Fills with the brush, no outline.
  void FillRect(int left, int top, int right, int bottom);
  // A one-pixel frame in the brush colour.
  void FrameRect(int left, int top, int right, int bottom);

  // Writes `text` with its top-left corner at (x, y), turned by the font's orientation about
  // that corner. With a solid brush the text cell is first filled with the brush colour.
  void TextOut(int x, int y, const QString& text);
  // TextOut clipped to the rectangle.
  void TextRect(int left, int top, int right, int bottom, int x, int y, const QString& text);
  // The unturned extent of `text` in the current font: advance width and cell height.
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;
  QSize TextExtent(const QString& text) const;

  // The colour at (x, y) of an image surface; black outside it or on another surface.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  // Copies `image` with its top-left corner at (x, y).
  void Draw(int x, int y, const QImage& image);
  // Copies `image` except its pixels of colour `transparent`.
  void DrawTransparent(int x, int y, const QImage& image, TColor transparent);
  // Stretches `image` (or part of it) into the rectangle, pixel for pixel without smoothing.
  void StretchDraw(int left, int top, int right, int bottom, const QImage& image);
  void CopyRect(int left, int top, int right, int bottom, const QImage& source, int sourceLeft,
                int sourceTop, int sourceRight, int sourceBottom);
  // Replays a recording stretched into the rectangle.
  void StretchDraw(int left, int top, int right, int bottom, const TMetafile& metafile);

  // Limits drawing to a rectangle or a rounded rectangle until ClearClip.
  void SetClipRect(int left, int top, int right, int bottom);
  void SetClipRoundRect(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight);
  void ClearClip();
  bool HasClip() const { return FClip.has_value(); }

  // The painter, begun and set up with the clipping; for drawing the canvas does not offer.
  QPainter& Painter();

 private:
  bool Begin();
  void UsePen();    // pen, no brush, pen mode
  void UseShape();  // pen, brush, pen mode
  void UsePenMode();
  const QFont& CurrentQFont() const;
  QImage* ImageDevice() const;

  QPaintDevice* FDevice = nullptr;
  std::unique_ptr<QPainter> FPainter;
  TCanvasPen FPen;
  TBrush FBrush;
  TFont FFont;
  mutable std::optional<TFont> FConvertedFont;  // FFont as last converted into FQFont
  mutable QFont FQFont;
  QPoint FPenPos;
  std::optional<QPainterPath> FClip;
};
