#pragma once

// The movable box of text rows that the graph lays over its plots: one row per run, each
// with an optional icon and two text cells side by side. It sizes itself to its rows and
// keeps its place in percent of a reference rectangle (the plot rectangle of its graph).

#include "LabelCell.h"
#include "PanelButton.h"

#include <QImage>
#include <QRect>

#include <array>
#include <memory>
#include <vector>

class TMultiLabel : public TPanelButton {
 public:
  explicit TMultiLabel(QWidget* parent = nullptr);
  ~TMultiLabel() override;

  int NumLabels() const { return static_cast<int>(FLabels.size()); }
  // Sets the number of rows; a negative count removes them all. New rows are empty and
  // have no icon.
  void SetNumLabels(int count);
  // Cell 0 or 1 of a row, or null outside the rows.
  TLabelCell* Label(int row, int cell) const;

  // The row's icon becomes a copy of `icon`; null removes it. Rows outside are ignored.
  void SetIconImage(const QImage* icon, int row);
  // The row's icon, or null when the row is outside or has none.
  const QImage* GetIconImage(int row) const;

  // Arranges the rows one below the other and sizes the box around them.
  void CheckLabels();

  // Takes `rect` as the reference rectangle and moves the box to its percentages of it.
  void SetRect(const QRect& rect);
  const QRect& RefRect() const { return FRefRect; }
  float XPercent() const { return FXPercent; }
  float YPercent() const { return FYPercent; }
  void SetXPercent(float percent) { FXPercent = percent; }
  void SetYPercent(float percent) { FYPercent = percent; }
  int GraphIndex() const { return FGraphIndex; }
  void SetGraphIndex(int index) { FGraphIndex = index; }

 protected:
  void PaintOn(TCanvas& canvas, QPoint origin) const override;
  // After the drag and its end-of-drag event: the new place in percent of the reference.
  void EndDrag() override;

 private:
  struct TRow {
    std::array<std::unique_ptr<TLabelCell>, 2> Cells;
    std::unique_ptr<QImage> Icon;
  };

  // The rows own their cells; members die before the widget base, so a cell is gone from
  // the widget's children before the base would delete it.
  std::vector<TRow> FLabels;
  QRect FRefRect{0, 0, 5, 5};
  float FXPercent = 5.0f;
  float FYPercent = 5.0f;
  int FGraphIndex = 0;
};
