#pragma once

// A vector recording of drawing, with a size in pixels: what the program prints and exports.
// It replays stretched into any rectangle, and is written as SVG or PDF from the same
// recording, so that printed, exported and shown pictures come from one drawing.

#include "Canvas.h"

#include <QImage>
#include <QPicture>
#include <QRectF>
#include <QString>

class TMetafile {
 public:
  TMetafile(int width, int height);
  TMetafile(const TMetafile&) = delete;
  TMetafile& operator=(const TMetafile&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // The recording canvas. Drawing may continue after the recording was read or replayed.
  TCanvas& Canvas() { return FCanvas; }
  // The recording so far.
  const QPicture& Picture() const;

  // Replays the recording with its (0, 0, Width, Height) stretched onto `target`.
  void PlayInto(QPainter& painter, const QRectF& target) const;
  // The recording drawn on an image of the given size over a background colour.
  QImage ToImage(int width, int height, TColor background = clWhite) const;

  // Writes the recording as an SVG or a one-page PDF of the recording's size (96 pixels per
  // inch). The file is replaced only when the whole picture was written; false on failure.
  bool SaveToSvg(const QString& path, const QString& title = {}) const;
  bool SaveToPdf(const QString& path, const QString& title = {}) const;

 private:
  int FWidth;
  int FHeight;
  QPicture FPicture;
  mutable TCanvas FCanvas{&FPicture};
};
