#include "LabelCell.h"

#include "Canvas.h"

TLabelCell::TLabelCell(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents, true);
  AdjustBounds();
}

void TLabelCell::SetCaption(const QString& caption) {
  FCaption = caption;
  AdjustBounds();
  update();
}

void TLabelCell::SetFont(const TFont& font) {
  FFont = font;
  AdjustBounds();
  update();
}

void TLabelCell::SetColor(TColor color) {
  FColor = color;
  update();
}

void TLabelCell::SetTransparent(bool transparent) {
  FTransparent = transparent;
  update();
}

void TLabelCell::AdjustBounds() {
  TCanvas measure;
  measure.Font() = FFont;
  measure.Font().FOrientation = 0;
  const QSize extent = measure.TextExtent(FCaption.isEmpty() ? QStringLiteral(" ") : FCaption);
  resize(extent);
}

void TLabelCell::paintEvent(QPaintEvent*) {
  TCanvas canvas(this);
  if (!FTransparent) {
    canvas.Brush() = TBrush{FColor, bsSolid};
    canvas.FillRect(0, 0, width(), height());
  }
  canvas.Font() = FFont;
  canvas.Font().FOrientation = 0;
  canvas.Brush().FStyle = bsClear;
  canvas.TextOut(0, 0, FCaption);
}
