#include "ToolbarIcons.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// One palette for every picture, so the set reads as one.
const QColor kInk(0x26, 0x33, 0x42);    // outlines
const QColor kPaper(0xf7, 0xf9, 0xfc);  // graph panels
const QColor kRunColors[] = {QColor(0xd3, 0x2f, 0x2f), QColor(0x1f, 0x6f, 0xd0),
                             QColor(0x2e, 0x9a, 0x45)};
const QColor kArrow(0x1d, 0x5a, 0xa6);  // pan and rescale arrows
const QColor kGlass(0xcf, 0xe6, 0xfb);  // the magnifier's lens
const QColor kHandle(0x5d, 0x45, 0x2f);
const QColor kFolderBack(0xd9, 0x9a, 0x1e);
const QColor kFolderFront(0xf6, 0xcd, 0x5c);
const QColor kFolderInk(0x7d, 0x55, 0x0c);
const QColor kRemove(0xd3, 0x2f, 0x2f);
const QColor kRemoveInk(0x8e, 0x1b, 0x1b);

// Drawing in a 16 x 16 design grid mapped onto the picture's pixels. Rectangles snap to whole
// pixels, mirrored about the centre so margins stay equal at 24 px; other shapes are
// antialiased.
class TSketch {
 public:
  TSketch(QPainter& painter, int pixels, qreal ratio)
      : P(painter),
        FPixels(pixels),
        FUnit(pixels / 16.0),
        FLine(std::max<qreal>(1.0, std::round(ratio))) {
    P.setRenderHint(QPainter::Antialiasing);
  }

  QPainter& P;

  QPointF Pt(qreal x, qreal y) const { return {x * FUnit, y * FUnit}; }
  QPolygonF Poly(std::initializer_list<QPointF> points) const {
    QPolygonF polygon;
    for (const QPointF& p : points)
      polygon << Pt(p.x(), p.y());
    return polygon;
  }
  qreal Snap(qreal v) const {
    return v <= 8 ? std::round(v * FUnit) : FPixels - std::round((16 - v) * FUnit);
  }
  // The whole pixels covered by the design rectangle.
  QRectF Cells(qreal x0, qreal y0, qreal x1, qreal y1) const {
    return QRectF(QPointF(Snap(x0), Snap(y0)), QPointF(Snap(x1), Snap(y1)));
  }
  // A crisp outline around those pixels, drawn inside them.
  void Frame(const QRectF& cells, const QColor& fill, const QColor& ink) const {
    P.fillRect(cells, ink);
    P.fillRect(cells.adjusted(FLine, FLine, -FLine, -FLine), fill);
  }
  // A pen `width` design units wide.
  QPen Pen(const QColor& color, qreal width) const {
    QPen pen(color, width * FUnit);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
  }
  QPen Hairline(const QColor& color) const {
    QPen pen(color, FLine);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
  }
  void Shape(const QPolygonF& polygon, const QColor& fill, const QColor& ink) const {
    P.setPen(Hairline(ink));
    P.setBrush(fill);
    P.drawPolygon(polygon);
  }
  qreal Line() const { return FLine; }
  qreal Unit() const { return FUnit; }
  int Pixels() const { return FPixels; }

 private:
  int FPixels;
  qreal FUnit;
  qreal FLine;
};

// A run's curve across `area`, rising like power over speed with a small dip.
void DrawCurve(const TSketch& s, const QRectF& area, const QColor& color, qreal phase) {
  static const QPointF shape[] = {{0.0, 0.9}, {0.3, 0.5}, {0.5, 0.62}, {0.75, 0.2}, {1.0, 0.35}};
  QPolygonF line;
  for (const QPointF& p : shape) {
    const qreal y = std::clamp(p.y() + phase, 0.0, 1.0);
    line << QPointF(area.left() + p.x() * area.width(), area.top() + y * area.height());
  }
  QPen pen = s.Pen(color, 1.2);
  pen.setWidthF(std::max<qreal>(pen.widthF(), s.Line()));
  s.P.setPen(pen);
  s.P.setBrush(Qt::NoBrush);
  s.P.drawPolyline(line);
}

void DrawStackedGraphs(const TSketch& s, int count) {
  const QRectF cells = s.Cells(1, 1, 15, 15);
  s.Frame(cells, kPaper, kInk);
  const qreal line = s.Line();
  const QRectF inner = cells.adjusted(line, line, -line, -line);
  // Whole-pixel panel heights, the spare pixels to the upper panels.
  const int room = static_cast<int>(inner.height() - (count - 1) * line);
  qreal top = inner.top();
  for (int i = 0; i < count; ++i) {
    const int height = room / count + (i < room % count ? 1 : 0);
    const QRectF panel(inner.left(), top, inner.width(), height);
    const qreal inset = std::max<qreal>(1.0, std::round(s.Unit()));
    DrawCurve(s, panel.adjusted(inset, inset * 0.5, -inset, -inset * 0.5), kRunColors[i], 0);
    top += height;
    if (i + 1 < count) {
      s.P.fillRect(QRectF(inner.left(), top, inner.width(), line), kInk);
      top += line;
    }
  }
}

void DrawZoom(const TSketch& s) {
  s.P.setPen(s.Pen(kHandle, 2.6));
  s.P.drawLine(s.Pt(10.2, 10.2), s.Pt(14.2, 14.2));
  s.P.setPen(s.Pen(kInk, 1.4));
  s.P.setBrush(kGlass);
  s.P.drawEllipse(s.Pt(6.5, 6.5), 4.6 * s.Unit(), 4.6 * s.Unit());
  s.P.setPen(s.Pen(kInk, 1.3));
  s.P.drawLine(s.Pt(4.4, 6.5), s.Pt(8.6, 6.5));
  s.P.drawLine(s.Pt(6.5, 4.4), s.Pt(6.5, 8.6));
}

void DrawPan(const TSketch& s) {
  // Shafts an even number of pixels wide on the centre line stay sharp at both sizes.
  const qreal shaft = std::max<qreal>(2.0, 2 * std::round(0.75 * s.Unit()));
  const qreal mid = s.Pixels() / 2.0;
  const QRectF across = s.Cells(3, 8, 13, 8);
  const QRectF down = s.Cells(8, 3, 8, 13);
  s.P.fillRect(QRectF(across.left(), mid - shaft / 2, across.width(), shaft), kArrow);
  s.P.fillRect(QRectF(mid - shaft / 2, down.top(), shaft, down.height()), kArrow);
  s.P.setPen(Qt::NoPen);
  s.P.setBrush(kArrow);
  s.P.drawPolygon(s.Poly({{8, 0.5}, {4.6, 4.2}, {11.4, 4.2}}));
  s.P.drawPolygon(s.Poly({{8, 15.5}, {4.6, 11.8}, {11.4, 11.8}}));
  s.P.drawPolygon(s.Poly({{0.5, 8}, {4.2, 4.6}, {4.2, 11.4}}));
  s.P.drawPolygon(s.Poly({{15.5, 8}, {11.8, 4.6}, {11.8, 11.4}}));
}

void DrawPointer(const TSketch& s) {
  s.Shape(s.Poly({{4.5, 1.5},
                  {4.5, 13.2},
                  {7.1, 10.7},
                  {9.0, 14.8},
                  {11.0, 13.9},
                  {9.1, 9.9},
                  {12.6, 9.9}}),
          Qt::white, kInk);
}

void DrawRemoveAll(const TSketch& s) {
  const QRectF sheet = s.Cells(1, 1, 12, 12);
  s.Frame(sheet, kPaper, kInk);
  const QRectF plot = sheet.adjusted(2 * s.Line(), 2 * s.Line(), -2 * s.Line(), -2 * s.Line());
  DrawCurve(s, plot, kRunColors[1], 0);
  s.P.setPen(s.Pen(kRemoveInk, 0.8));
  s.P.setBrush(kRemove);
  s.P.drawEllipse(s.Pt(11.2, 11.2), 4.3 * s.Unit(), 4.3 * s.Unit());
  s.P.setPen(s.Pen(Qt::white, 1.5));
  s.P.drawLine(s.Pt(9.4, 9.4), s.Pt(13.0, 13.0));
  s.P.drawLine(s.Pt(13.0, 9.4), s.Pt(9.4, 13.0));
}

void DrawRescale(const TSketch& s) {
  s.Frame(s.Cells(5.5, 5.5, 10.5, 10.5), kPaper, kInk);
  // From beside the frame out to each corner, head in the corner.
  const qreal from = 5.0, to = 2.8, head = 5.2, tip = 0.8;
  for (const QPointF& c : {QPointF(0, 0), QPointF(16, 0), QPointF(0, 16), QPointF(16, 16)}) {
    const qreal dx = c.x() == 0 ? 1 : -1, dy = c.y() == 0 ? 1 : -1;
    s.P.setPen(s.Pen(kArrow, 1.5));
    s.P.drawLine(s.Pt(c.x() + dx * from, c.y() + dy * from),
                 s.Pt(c.x() + dx * to, c.y() + dy * to));
    s.P.setPen(Qt::NoPen);
    s.P.setBrush(kArrow);
    s.P.drawPolygon(s.Poly({{c.x() + dx * tip, c.y() + dy * tip},
                            {c.x() + dx * head, c.y() + dy * tip},
                            {c.x() + dx * tip, c.y() + dy * head}}));
  }
}

void DrawOpen(const TSketch& s) {
  s.Shape(s.Poly({{1, 2.5}, {6, 2.5}, {7.5, 4}, {13.5, 4}, {13.5, 13.5}, {1, 13.5}}), kFolderBack,
          kFolderInk);
  s.Shape(s.Poly({{3.6, 7}, {15.5, 7}, {13.2, 13.5}, {1, 13.5}}), kFolderFront, kFolderInk);
}

QImage ToolbarImage(int index, int size, qreal ratio) {
  // Held to a sane range (NaN included) so no caller can ask for a giant picture.
  ratio = ratio >= 1.0 ? std::min<qreal>(ratio, 4.0) : 1.0;
  const int pixels = static_cast<int>(std::lround(ToolbarImageSize(size) * ratio));
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  TSketch s(painter, pixels, ratio);
  switch (index) {
    case tiZoom:
      DrawZoom(s);
      break;
    case tiOneGraph:
    case tiTwoGraphs:
    case tiThreeGraphs:
      DrawStackedGraphs(s, index - tiOneGraph + 1);
      break;
    case tiPan:
      DrawPan(s);
      break;
    case tiPointMode:
      DrawPointer(s);
      break;
    case tiRemoveAll:
      DrawRemoveAll(s);
      break;
    case tiRescale:
      DrawRescale(s);
      break;
    case tiOpen:
      DrawOpen(s);
      break;
    default:
      break;  // blank slot
  }
  painter.end();
  image.setDevicePixelRatio(ratio);
  return image;
}

}  // namespace

int ToolbarImageSize(int size) {
  return size == 16 ? 16 : 24;
}

QPixmap ToolbarPixmap(int index, int size, qreal devicePixelRatio) {
  return QPixmap::fromImage(ToolbarImage(index, size, devicePixelRatio));
}

QIcon ToolbarIcon(int index, int size) {
  QIcon icon;
  icon.addPixmap(ToolbarPixmap(index, size, 1.0));
  icon.addPixmap(ToolbarPixmap(index, size, 2.0));
  return icon;
}
