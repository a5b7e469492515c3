#include "MultiLabel.h"

#include <algorithm>
#include <cmath>

TMultiLabel::TMultiLabel(QWidget* parent) : TPanelButton(parent) {}

TMultiLabel::~TMultiLabel() = default;

void TMultiLabel::SetNumLabels(int count) {
  const std::size_t wanted = static_cast<std::size_t>(std::max(count, 0));
  if (wanted < FLabels.size()) {
    FLabels.resize(wanted);
    return;
  }
  while (FLabels.size() < wanted) {
    TRow row;
    for (auto& cell : row.Cells) {
      cell = std::make_unique<TLabelCell>(this);
      cell->show();
    }
    FLabels.push_back(std::move(row));
  }
}

TLabelCell* TMultiLabel::Label(int row, int cell) const {
  if (row < 0 || row >= NumLabels() || cell < 0 || cell > 1) return nullptr;
  return FLabels[static_cast<std::size_t>(row)].Cells[static_cast<std::size_t>(cell)].get();
}

void TMultiLabel::SetIconImage(const QImage* icon, int row) {
  if (row < 0 || row >= NumLabels()) return;
  auto& slot = FLabels[static_cast<std::size_t>(row)].Icon;
  slot = icon ? std::make_unique<QImage>(*icon) : nullptr;
  update();
}

const QImage* TMultiLabel::GetIconImage(int row) const {
  if (row < 0 || row >= NumLabels()) return nullptr;
  return FLabels[static_cast<std::size_t>(row)].Icon.get();
}

void TMultiLabel::CheckLabels() {
  int boxHeight = 2;
  int boxWidth = 0;
  for (TRow& row : FLabels) {
    TLabelCell& c0 = *row.Cells[0];
    TLabelCell& c1 = *row.Cells[1];
    const int iconWidth = row.Icon ? row.Icon->width() : 0;
    const int top = boxHeight;
    // A row whose cells both have no height takes no room.
    if (const int h = std::max(c0.height(), c1.height()); h > 0) boxHeight += h + 2;
    const int left0 = row.Icon ? iconWidth + 4 : 2;
    const int rowWidth =
        row.Icon ? iconWidth + c0.width() + c1.width() + 6 : c0.width() + c1.width() + 4;
    boxWidth = std::max(boxWidth, rowWidth);
    c0.move(left0, top);
    c1.move(left0 + c0.width(), top);
  }
  if (!FLabels.empty()) ++boxHeight;
  resize(boxWidth, boxHeight);
  update();
}

void TMultiLabel::SetRect(const QRect& rect) {
  FRefRect = rect;
  // Percentages come from stored settings and drags; one that is not a number leaves its
  // coordinate alone, and the box stays where its parent can show it.
  const auto place = [](float percent, int from, int extent, int current) {
    const double v = std::trunc(percent * 0.01 * extent + from);
    return std::isfinite(v) ? static_cast<int>(std::clamp(v, -1e6, 1e6)) : current;
  };
  int left = place(FXPercent, rect.x(), rect.width(), x());
  int top = place(FYPercent, rect.y(), rect.height(), y());
  if (const QWidget* parent = parentWidget()) {
    left = std::clamp(left, 0, std::max(parent->width() - 1, 0));
    top = std::clamp(top, 0, std::max(parent->height() - 1, 0));
  }
  if (left != x() || top != y()) move(left, top);
}

void TMultiLabel::EndDrag() {
  TPanelButton::EndDrag();
  if (Style() != pbsDrag) return;
  if (FRefRect == QRect(0, 0, 0, 0) && parentWidget()) FRefRect = parentWidget()->rect();
  // A reference without width or height gives no percentage; the old one stays.
  if (FRefRect.width() != 0) FXPercent = (x() - FRefRect.x()) * 100.0f / FRefRect.width();
  if (FRefRect.height() != 0) FYPercent = (y() - FRefRect.y()) * 100.0f / FRefRect.height();
}

void TMultiLabel::PaintOn(TCanvas& canvas, QPoint origin) const {
  TPanelButton::PaintOn(canvas, origin);
  for (const TRow& row : FLabels) {
    if (row.Icon) canvas.Draw(origin.x() + 2, origin.y() + row.Cells[0]->y(), *row.Icon);
  }
}
