#pragma once

// The drawing primitives of a recording (a TMetafile's picture), replayed into a paint engine
// that keeps them instead of painting: texts with their baseline, lines, polylines and fills,
// all in picture coordinates. Geometry tests check these rather than pixels.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPicture>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTextItem>
#include <QTransform>

#include <climits>

#include <vector>

namespace tw_test {

struct TRecordedText {
  QString Text;
  QPointF Baseline;  // left end of the baseline
  QFont Font;
  QColor Color;
  // The top of the text cell, as the canvas placed it (baseline minus the font's ascent).
  double Top() const;
};

// A line: drawn as one (a recording hands lines over as two-point polylines).
struct TRecordedLine {
  QLineF Line;
  QColor Color;
};

struct TRecordedPolyline {
  QPolygonF Points;
  QPen Pen;
};

struct TRecordedFill {
  QRectF Bounds;
  QColor Color;
};

class TRecordedPicture {
 public:
  TRecordedPicture(const QPicture& picture, int width, int height);

  std::vector<TRecordedText> Texts;
  std::vector<TRecordedLine> Lines;
  std::vector<TRecordedPolyline> Polylines;
  std::vector<TRecordedFill> Fills;

  // The texts that read exactly `text`, in drawing order.
  std::vector<TRecordedText> TextsReading(const QString& text) const;
  // The polylines drawn in this colour.
  std::vector<TRecordedPolyline> PolylinesIn(const QColor& color) const;
};

namespace recorded_detail {

class TRecordingEngine : public QPaintEngine {
 public:
  explicit TRecordingEngine(TRecordedPicture& out) : QPaintEngine(AllFeatures), FOut(out) {}

  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override { return User; }

  void updateState(const QPaintEngineState& state) override {
    if (state.state() & DirtyTransform) FTransform = state.transform();
    if (state.state() & DirtyPen) FPen = state.pen();
    if (state.state() & DirtyBrush) FBrush = state.brush();
  }

  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}

  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    FOut.Texts.push_back({item.text(), FTransform.map(p), item.font(), FPen.color()});
  }
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i)
      FOut.Lines.push_back({FTransform.map(lines[i]), FPen.color()});
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    QPolygonF polygon;
    for (int i = 0; i < count; ++i)
      polygon.append(FTransform.map(points[i]));
    if (mode == PolylineMode && count == 2) {
      FOut.Lines.push_back({QLineF(polygon[0], polygon[1]), FPen.color()});
    } else if (mode == PolylineMode) {
      FOut.Polylines.push_back({polygon, FPen});
    } else if (FBrush.style() != Qt::NoBrush) {
      FOut.Fills.push_back({polygon.boundingRect(), FBrush.color()});
    }
  }
  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) {
      if (FBrush.style() != Qt::NoBrush)
        FOut.Fills.push_back({FTransform.mapRect(rects[i]), FBrush.color()});
    }
  }
  void drawPath(const QPainterPath& path) override {
    if (FBrush.style() != Qt::NoBrush)
      FOut.Fills.push_back({FTransform.map(path).boundingRect(), FBrush.color()});
  }

 private:
  TRecordedPicture& FOut;
  QTransform FTransform;
  QPen FPen;
  QBrush FBrush;
};

class TRecordingDevice : public QPaintDevice {
 public:
  TRecordingDevice(TRecordedPicture& out, int width, int height)
      : FEngine(out), FWidth(width), FHeight(height) {}
  ~TRecordingDevice() override = default;

  QPaintEngine* paintEngine() const override { return &FEngine; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
        return FWidth;
      case PdmHeight:
        return FHeight;
      case PdmWidthMM:
        return FWidth * 254 / 960;
      case PdmHeightMM:
        return FHeight * 254 / 960;
      case PdmNumColors:
        return INT_MAX;
      case PdmDepth:
        return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 96;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  mutable TRecordingEngine FEngine;
  int FWidth;
  int FHeight;
};

}  // namespace recorded_detail

inline double TRecordedText::Top() const {
  return Baseline.y() - QFontMetricsF(Font).ascent();
}

inline TRecordedPicture::TRecordedPicture(const QPicture& picture, int width, int height) {
  recorded_detail::TRecordingDevice device(*this, width, height);
  QPainter painter(&device);
  painter.drawPicture(0, 0, picture);
}

inline std::vector<TRecordedText> TRecordedPicture::TextsReading(const QString& text) const {
  std::vector<TRecordedText> found;
  for (const TRecordedText& t : Texts)
    if (t.Text == text) found.push_back(t);
  return found;
}

inline std::vector<TRecordedPolyline> TRecordedPicture::PolylinesIn(const QColor& color) const {
  std::vector<TRecordedPolyline> found;
  for (const TRecordedPolyline& p : Polylines)
    if (p.Pen.color().rgb() == color.rgb()) found.push_back(p);
  return found;
}

}  // namespace tw_test
