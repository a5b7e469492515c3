#include "Metafile.h"

#include "Bitmap.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>

namespace {

bool WriteWhole(const QString& path, const QByteArray& bytes) {
  if (bytes.isEmpty()) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace

TMetafile::TMetafile(int width, int height)
    : FWidth(std::clamp(width, 0, kMaxBitmapSide)),
      FHeight(std::clamp(height, 0, kMaxBitmapSide)) {}

const QPicture& TMetafile::Picture() const {
  FCanvas.End();
  return FPicture;
}

void TMetafile::PlayInto(QPainter& painter, const QRectF& target) const {
  const QPicture& picture = Picture();
  if (FWidth <= 0 || FHeight <= 0 || picture.isNull() || target.isEmpty()) return;
  painter.save();
  painter.translate(target.topLeft());
  painter.scale(target.width() / FWidth, target.height() / FHeight);
  painter.drawPicture(0, 0, picture);
  painter.restore();
}

QImage TMetafile::ToImage(int width, int height, TColor background) const {
  TBitmap bitmap(width, height);
  if (bitmap.Empty()) return {};
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush() = TBrush{background, bsSolid};
  canvas.FillRect(0, 0, width, height);
  canvas.StretchDraw(0, 0, width, height, *this);
  return bitmap.Image();
}

bool TMetafile::SaveToSvg(const QString& path, const QString& title) const {
  if (FWidth <= 0 || FHeight <= 0) return false;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(FWidth, FHeight));
    svg.setViewBox(QRect(0, 0, FWidth, FHeight));
    svg.setResolution(96);
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    PlayInto(painter, QRectF(0, 0, FWidth, FHeight));
    painter.end();
  }
  return WriteWhole(path, buffer.data());
}

bool TMetafile::SaveToPdf(const QString& path, const QString& title) const {
  if (FWidth <= 0 || FHeight <= 0) return false;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Tracewell"));
    pdf.setResolution(96);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(FWidth * 72.0 / 96.0, FHeight * 72.0 / 96.0), QPageSize::Point,
                              QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    PlayInto(painter, QRectF(0, 0, pdf.width(), pdf.height()));
    painter.end();
  }
  return WriteWhole(path, buffer.data());
}
