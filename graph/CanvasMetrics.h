#pragma once

// Text sizes for the scale engine and the axis geometry, measured in the canvas's current font.

#include <QString>

#include <string_view>

#include "Canvas.h"
#include "GraphTypes.h"

class TCanvasMetrics : public TTextMetrics {
 public:
  explicit TCanvasMetrics(const TCanvas& canvas) : FCanvas(canvas) {}

  int TextWidth(std::string_view text) const override {
    return FCanvas.TextWidth(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  int TextHeight(std::string_view text) const override {
    return FCanvas.TextHeight(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }

 private:
  const TCanvas& FCanvas;
};
