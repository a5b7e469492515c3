#include "Canvas.h"

#include "Metafile.h"

#include <QFontMetrics>
#include <QPicture>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kMaxPenWidth = 1000;

// Dash patterns of the original's one-pixel pens, in pixels: on, off, on, off, ...
QList<qreal> DashPattern(TPenStyle style) {
  switch (style) {
    case psDash:
      return {18, 6};
    case psDot:
      return {3, 3};
    case psDashDot:
      return {9, 6, 3, 6};
    case psDashDotDot:
      return {9, 3, 3, 3, 3, 3};
    default:
      return {};
  }
}

QRectF ShapeRect(int left, int top, int right, int bottom, const TCanvasPen& pen) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  // The outline runs through the last pixel row and column inside (right, bottom).
  QRectF r(left, top, right - left - 1, bottom - top - 1);
  if (pen.FStyle == psInsideFrame && pen.FWidth > 1) {
    const qreal inset = (pen.FWidth - 1) / 2.0;
    r.adjust(inset, inset, -inset, -inset);
  }
  return r;
}

QRect FillArea(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  return QRect(left, top, right - left, bottom - top);
}

}  // namespace

QPen ToQPen(const TCanvasPen& pen) {
  if (pen.FStyle == psClear) return QPen(Qt::NoPen);
  const int width = std::clamp(pen.FWidth, 0, kMaxPenWidth);
  QPen q(ToQColor(pen.FColor));
  q.setWidth(width);
  const QList<qreal> dashes = DashPattern(pen.FStyle);
  // One-pixel lines stop short of their end point with flat caps; wider pens are round
  // like the original's, except that dashes keep their lengths.
  if (width <= 1 || !dashes.isEmpty()) {
    q.setCapStyle(Qt::FlatCap);
    q.setJoinStyle(Qt::MiterJoin);
  } else {
    q.setCapStyle(Qt::RoundCap);
    q.setJoinStyle(Qt::RoundJoin);
  }
  if (!dashes.isEmpty()) {
    QList<qreal> scaled;
    for (qreal d : dashes)
      scaled.append(d / std::max(width, 1));
    q.setDashPattern(scaled);
  }
  return q;
}

QBrush ToQBrush(const TBrush& brush) {
  const QColor color = ToQColor(brush.FColor);
  switch (brush.FStyle) {
    case bsClear:
      return QBrush(Qt::NoBrush);
    case bsHorizontal:
      return QBrush(color, Qt::HorPattern);
    case bsVertical:
      return QBrush(color, Qt::VerPattern);
    case bsFDiagonal:
      return QBrush(color, Qt::FDiagPattern);
    case bsBDiagonal:
      return QBrush(color, Qt::BDiagPattern);
    case bsCross:
      return QBrush(color, Qt::CrossPattern);
    case bsDiagCross:
      return QBrush(color, Qt::DiagCrossPattern);
    default:
      return QBrush(color, Qt::SolidPattern);
  }
}

TCanvas::TCanvas(QPaintDevice* device) : FDevice(device), FPainter(std::make_unique<QPainter>()) {}

TCanvas::~TCanvas() {
  End();
}

void TCanvas::SetDevice(QPaintDevice* device) {
  End();
  FDevice = device;
}

void TCanvas::End() {
  if (FPainter->isActive()) FPainter->end();
}

QImage* TCanvas::ImageDevice() const {
  return FDevice && FDevice->devType() == QInternal::Image ? static_cast<QImage*>(FDevice)
                                                           : nullptr;
}

bool TCanvas::Begin() {
  if (FPainter->isActive()) return true;
  if (!FDevice) return false;
  if (const QImage* image = ImageDevice(); image && image->isNull()) return false;
  // Painting on a recording starts it afresh; what was recorded before is replayed first so
  // that a recording can be continued after it was read.
  // (A deep copy: beginning truncates the data that a shallow copy would share.)
  QPicture earlier;
  if (FDevice->devType() == QInternal::Picture) {
    const auto* picture = static_cast<const QPicture*>(FDevice);
    if (!picture->isNull()) earlier.setData(picture->data(), picture->size());
  }
  if (!FPainter->begin(FDevice)) return false;
  FPainter->setRenderHint(QPainter::Antialiasing, false);
  FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (!earlier.isNull()) FPainter->drawPicture(0, 0, earlier);
  if (FClip) FPainter->setClipPath(*FClip);
  return true;
}

QPainter& TCanvas::Painter() {
  Begin();
  return *FPainter;
}

void TCanvas::UsePenMode() {
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  if (ImageDevice()) {
    switch (FPen.FMode) {
      case pmNot:
        mode = QPainter::RasterOp_NotDestination;
        break;
      case pmXor:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
      case pmNotXor:
        mode = QPainter::RasterOp_NotSourceXorDestination;
        break;
      default:
        break;
    }
  }
  FPainter->setCompositionMode(mode);
}

void TCanvas::UsePen() {
  FPainter->setPen(ToQPen(FPen));
  FPainter->setBrush(Qt::NoBrush);
  UsePenMode();
}

void TCanvas::UseShape() {
  FPainter->setPen(ToQPen(FPen));
  FPainter->setBrush(ToQBrush(FBrush));
  UsePenMode();
}

const QFont& TCanvas::CurrentQFont() const {
  if (!FConvertedFont || !(*FConvertedFont == FFont)) {
    FQFont = ToQFont(FFont);
    FConvertedFont = FFont;
  }
  return FQFont;
}

void TCanvas::MoveTo(int x, int y) {
  FPenPos = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y) {
  const QPoint to(x, y);
  if (Begin() && FPen.FStyle != psClear) {
    UsePen();
    QPoint from = FPenPos;
    QPoint end = to;
    // A thin line colours its start and leaves out its end point. Qt's rasteriser leaves out
    // the end with the larger major coordinate whatever the direction, so a line drawn
    // leftwards or upwards is moved one pixel back along its major axis to keep that rule.
    if (FPen.FWidth <= 1) {
      const QPoint d = to - from;
      const bool xMajor = std::abs(d.x()) >= std::abs(d.y());
      if (xMajor ? d.x() < 0 : d.y() < 0) {
        const QPoint step = xMajor ? QPoint(1, 0) : QPoint(0, 1);
        from += step;
        end += step;
      }
    }
    FPainter->drawLine(from, end);
  }
  FPenPos = to;
}

void TCanvas::Polyline(std::span<const QPoint> points) {
  if (points.size() < 2 || !Begin() || FPen.FStyle == psClear) return;
  UsePen();
  FPainter->drawPolyline(points.data(), static_cast<int>(points.size()));
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (left == right || top == bottom || !Begin()) return;
  UseShape();
  FPainter->drawRect(ShapeRect(left, top, right, bottom, FPen));
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight) {
  if (left == right || top == bottom || !Begin()) return;
  UseShape();
  FPainter->drawRoundedRect(ShapeRect(left, top, right, bottom, FPen), std::abs(ellipseWidth) / 2.0,
                            std::abs(ellipseHeight) / 2.0);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (left == right || top == bottom || !Begin()) return;
  UseShape();
  FPainter->drawEllipse(ShapeRect(left, top, right, bottom, FPen));
}

void TCanvas::FillRect(int left, int top, int right, int bottom) {
  if (FBrush.FStyle == bsClear || !Begin()) return;
  FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  FPainter->fillRect(FillArea(left, top, right, bottom), ToQBrush(FBrush));
}

void TCanvas::FrameRect(int left, int top, int right, int bottom) {
  if (FBrush.FStyle == bsClear || !Begin()) return;
  const QRect r = FillArea(left, top, right, bottom);
  if (r.isEmpty()) return;
  const QBrush brush = ToQBrush(FBrush);
  FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  FPainter->fillRect(QRect(r.left(), r.top(), r.width(), 1), brush);
  FPainter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), brush);
  FPainter->fillRect(QRect(r.left(), r.top(), 1, r.height()), brush);
  FPainter->fillRect(QRect(r.right(), r.top(), 1, r.height()), brush);
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  if (Begin() && !text.isEmpty()) {
    const QFont& font = CurrentQFont();
    const QFontMetrics metrics(font);
    FPainter->save();
    FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    FPainter->translate(x, y);
    // The orientation turns counter-clockwise on the screen, where y grows downwards.
    if (FFont.FOrientation % 3600 != 0) FPainter->rotate(-FFont.FOrientation / 10.0);
    if (FBrush.FStyle == bsSolid) {
      FPainter->fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()),
                         ToQColor(FBrush.FColor));
    }
    FPainter->setFont(font);
    FPainter->setPen(ToQColor(FFont.FColor));
    FPainter->drawText(QPoint(0, metrics.ascent()), text);
    FPainter->restore();
  }
  FPenPos = QPoint(x + TextWidth(text), y);
}

void TCanvas::TextRect(int left, int top, int right, int bottom, int x, int y,
                       const QString& text) {
  if (!Begin()) return;
  FPainter->save();
  FPainter->setClipRect(FillArea(left, top, right, bottom), Qt::IntersectClip);
  TextOut(x, y, text);
  FPainter->restore();
}

int TCanvas::TextWidth(const QString& text) const {
  return QFontMetrics(CurrentQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const {
  return QFontMetrics(CurrentQFont()).height();
}

QSize TCanvas::TextExtent(const QString& text) const {
  const QFontMetrics metrics(CurrentQFont());
  return QSize(metrics.horizontalAdvance(text), metrics.height());
}

TColor TCanvas::Pixel(int x, int y) const {
  const QImage* image = ImageDevice();
  if (!image || !image->valid(x, y)) return clBlack;
  return FromQColor(QColor(image->pixel(x, y)));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (!Begin()) return;
  FPainter->save();
  FPainter->setCompositionMode(QPainter::CompositionMode_Source);
  FPainter->fillRect(QRect(x, y, 1, 1), ToQColor(color));
  FPainter->restore();
}

void TCanvas::Draw(int x, int y, const QImage& image) {
  if (image.isNull() || !Begin()) return;
  FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  // Drawing an image onto itself reads pixels that are being written.
  if (static_cast<const QPaintDevice*>(&image) == FDevice)
    FPainter->drawImage(x, y, image.copy());
  else
    FPainter->drawImage(x, y, image);
}

void TCanvas::DrawTransparent(int x, int y, const QImage& image, TColor transparent) {
  if (image.isNull()) return;
  QImage masked = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = ToQColor(transparent & 0x00FFFFFF).rgb();
  for (int row = 0; row < masked.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
    for (int col = 0; col < masked.width(); ++col) {
      if ((line[col] | 0xFF000000) == key) line[col] = 0;
    }
  }
  Draw(x, y, masked);
}

void TCanvas::StretchDraw(int left, int top, int right, int bottom, const QImage& image) {
  CopyRect(left, top, right, bottom, image, 0, 0, image.width(), image.height());
}

void TCanvas::CopyRect(int left, int top, int right, int bottom, const QImage& source,
                       int sourceLeft, int sourceTop, int sourceRight, int sourceBottom) {
  if (source.isNull() || !Begin()) return;
  const QRect target(left, top, right - left, bottom - top);
  const QRect from(sourceLeft, sourceTop, sourceRight - sourceLeft, sourceBottom - sourceTop);
  if (target.width() <= 0 || target.height() <= 0 || from.width() <= 0 || from.height() <= 0)
    return;
  FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (static_cast<const QPaintDevice*>(&source) == FDevice)
    FPainter->drawImage(target, source.copy(from));
  else
    FPainter->drawImage(target, source, from);
}

void TCanvas::StretchDraw(int left, int top, int right, int bottom, const TMetafile& metafile) {
  if (!Begin()) return;
  FPainter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  metafile.PlayInto(*FPainter, QRectF(left, top, right - left, bottom - top));
}

void TCanvas::SetClipRect(int left, int top, int right, int bottom) {
  QPainterPath path;
  path.addRect(FillArea(left, top, right, bottom));
  FClip = path;
  if (FPainter->isActive()) FPainter->setClipPath(path);
}

void TCanvas::SetClipRoundRect(int left, int top, int right, int bottom, int ellipseWidth,
                               int ellipseHeight) {
  QPainterPath path;
  path.addRoundedRect(FillArea(left, top, right, bottom), std::abs(ellipseWidth) / 2.0,
                      std::abs(ellipseHeight) / 2.0);
  FClip = path;
  if (FPainter->isActive()) FPainter->setClipPath(path);
}

void TCanvas::ClearClip() {
  FClip.reset();
  if (FPainter->isActive()) FPainter->setClipping(false);
}
