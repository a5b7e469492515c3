// The label boxes over the plots: one row per run with its maximum values, its conditions, its
// title or the areas under its curves, refilled at every redraw; a box dragged into another
// graph's band joins that graph.

#include <QFile>

#include "Cp1252.h"
#include "NumberFormat.h"
#include "WPGraph.h"

namespace {

constexpr int kMaxBox = 0;                      // boxes 0..2: maximum values of graph 0..2
constexpr int kConditionsBox = 3;               // run conditions
constexpr int kTitlesBox = 4;                   // run titles
constexpr int kAreaBox = 5;                     // boxes 5..7: areas of graph 0..2
constexpr int kCustomBoxes = kFixedLabelBoxes;  // added by the host

// A value of the channel table by axis button Tag; empty outside the table.
std::string EntryBytes(const std::vector<std::string>& texts, int entry) {
  return entry >= 0 && static_cast<size_t>(entry) < texts.size() ? texts[static_cast<size_t>(entry)]
                                                                 : std::string();
}

std::string FileNameUtf8(const TRunData& run) {
  return QFile::decodeName(QByteArray::fromStdString(run.FFileName)).toStdString();
}

QRect ToQRect(const TRect& r) {
  return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// What a box's rows need while they are refilled: the label font and whether the box must
// arrange its rows again.
struct TRowFill {
  const TFont& Font;
  bool Changed = false;

  // Shows `text` in the cell in the label font; a cell that was hidden or flattened for
  // another label type comes back at its text's size.
  void Text(TLabelCell* cell, const QString& text) {
    if (!cell) return;
    if (cell->Caption() != text) {
      cell->SetCaption(text);
      Changed = true;
    }
    const TFont& now = cell->Font();
    if (now.FName != Font.FName || now.FHeight != Font.FHeight || now.FStyle != Font.FStyle) {
      cell->SetFont(Font);
      Changed = true;
    }
    cell->SetTransparent(true);
    if (cell->isHidden() || cell->width() == 0 || cell->height() == 0) {
      cell->show();
      cell->AdjustBounds();
      Changed = true;
    }
  }
  // A cell that a label type does not use: hidden and no width.
  void Hide(TLabelCell* cell) {
    if (!cell || (cell->isHidden() && cell->width() == 0)) return;
    cell->hide();
    cell->resize(0, cell->height());
    Changed = true;
  }
  // A row without content takes no height.
  void Flatten(TLabelCell* cell) {
    if (!cell || cell->height() == 0) return;
    cell->resize(cell->width(), 0);
    Changed = true;
  }
  void Color(TLabelCell* cell, TColor color) {
    if (!cell || cell->Font().FColor == color) return;
    TFont font = cell->Font();
    font.FColor = color;
    cell->SetFont(font);
  }
};

}  // namespace

void TWPGraph::SetLabelType(int type) {
  FLabelType = (type >= 0 && type <= 5) ? type : 0;
  RedrawUnlessLoading();
}

void TWPGraph::DrawLabels() {
  const int boxes = NumLabelBoxes();
  const auto hideRange = [&](int from, int to) {
    for (int i = std::max(from, 0); i < std::min(to, boxes); ++i)
      FLabelBoxes[static_cast<size_t>(i)]->hide();
  };
  if (FData->NumRuns() == 0 || FLabelType == 0) {
    hideRange(0, kFixedLabelBoxes);
    return;
  }
  // A copy, so that a change of the property in a handler cannot pull it away mid-way.
  const TFont font = FMultiLabelFont;
  const int runs = FNumRuns;
  const QString maxWord = GetGraphString(16);
  const QString areaWord = GetGraphString(17);

  // Row count and icons: one row per run with the run's colour icon from the run list.
  const auto prepareRows = [&](TMultiLabel& box, TRowFill& fill) {
    if (box.NumLabels() != runs) {
      box.SetNumLabels(runs);
      fill.Changed = true;
    }
    for (int j = 0; j < runs; ++j) {
      const QImage* icon = FLVImages ? FLVImages->Image(j) : nullptr;
      const QImage* now = box.GetIconImage(j);
      if (!icon && !now) continue;
      if (icon && now && *icon == *now) continue;
      if (!icon != !now) fill.Changed = true;
      box.SetIconImage(icon, j);
    }
  };
  const auto finish = [&](TMultiLabel& box, const TRowFill& fill, const TRect& area, bool shown) {
    box.SetRect(ToQRect(area));
    if (fill.Changed && shown) box.CheckLabels();
    box.setVisible(shown);
  };
  const auto graphArea = [&](const TMultiLabel& box) {
    const int g = box.GraphIndex();
    return FGraphRect[static_cast<size_t>(g >= 0 && g < kMaxGraphs ? g : 0)];
  };

  switch (FLabelType) {
    case 1: {
      for (int i = 0; i < FNumGraphs && kMaxBox + i < boxes; ++i) {
        TMultiLabel& box = *FLabelBoxes[static_cast<size_t>(kMaxBox + i)];
        TRowFill fill{font};
        prepareRows(box, fill);
        const int a = 2 * i + 1, b = 2 * i + 2;
        bool hasLeft = FData->AxisInUse(a), hasRight = FData->AxisInUse(b);
        const int leftTag = FAxisBtn[static_cast<size_t>(a)]->Tag();
        const int rightTag = FAxisBtn[static_cast<size_t>(b)]->Tag();
        const std::string leftName = EntryBytes(FData->FChannelNames, leftTag);
        const std::string rightName = EntryBytes(FData->FChannelNames, rightTag);
        const bool leftKnown =
            leftTag >= 0 && static_cast<uint32_t>(leftTag) < FData->ChannelCount();
        const bool rightKnown =
            rightTag >= 0 && static_cast<uint32_t>(rightTag) < FData->ChannelCount();
        for (int j = 0; j < runs; ++j) {
          const TRunData* run = FData->Run(static_cast<uint32_t>(j));
          const TChannel* lc = run ? run->FShown[static_cast<size_t>(2 * i)] : nullptr;
          const TChannel* rc = run ? run->FShown[static_cast<size_t>(2 * i + 1)] : nullptr;
          // The whole air/fuel and gear channels have no maximum worth showing.
          if (lc && (lc->FID == ctAirFuel || lc->FID == ctGear)) {
            lc = nullptr;
            hasLeft = false;
          }
          if (rc && (rc->FID == ctAirFuel || rc->FID == ctGear)) {
            rc = nullptr;
            hasRight = false;
          }
          TLabelCell* cell0 = box.Label(j, 0);
          TLabelCell* cell1 = box.Label(j, 1);
          if (!lc && !rc) {
            fill.Text(cell0, {});
            fill.Text(cell1, {});
            continue;
          }
          const auto first = [&](const TChannel& c, bool known, const std::string& name) {
            if (!run || !known) return QStringLiteral("????");
            return QString::fromStdString(Format(
                "%s %s %s = %f ", {FileNameUtf8(*run), maxWord.toStdString(), name, c.FYMax}));
          };
          fill.Text(cell1, {});
          if (lc) {
            fill.Text(cell0, first(*lc, leftKnown, leftName));
            if (rc) {
              fill.Text(cell1,
                        QString::fromStdString(Format(
                            "    %s %s = %f", {maxWord.toStdString(), rightName, rc->FYMax})));
            }
          } else {
            fill.Text(cell0, first(*rc, rightKnown, rightName));
          }
        }
        finish(box, fill, graphArea(box), hasLeft || hasRight);
      }
      hideRange(FNumGraphs, boxes);
      break;
    }
    case 2:
    case 3: {
      const int shownBox = FLabelType == 2 ? kConditionsBox : kTitlesBox;
      if (shownBox < boxes) {
        TMultiLabel& box = *FLabelBoxes[static_cast<size_t>(shownBox)];
        TRowFill fill{font};
        prepareRows(box, fill);
        for (int j = 0; j < runs; ++j) {
          QString text;
          if (FLabelType == 2) {
            text = GetConditionsString(j);
          } else if (const TRunData* run = FData->Run(static_cast<uint32_t>(j))) {
            text = QString::fromStdString(
                Format("%s %s", {FileNameUtf8(*run), Cp1252ToUtf8(run->FTitle)}));
          }
          fill.Text(box.Label(j, 0), text);
          fill.Hide(box.Label(j, 1));
        }
        finish(box, fill, FGraphRect[0], true);
      }
      hideRange(0, shownBox);
      hideRange(shownBox + 1, boxes);
      break;
    }
    case 4: {
      if (OnUpdateCustomLabels) OnUpdateCustomLabels(this);
      for (int i = kCustomBoxes; i < NumLabelBoxes(); ++i) {
        TMultiLabel& box = *FLabelBoxes[static_cast<size_t>(i)];
        const int g = box.GraphIndex();
        box.SetRect(g < 0 ? rect() : ToQRect(graphArea(box)));
      }
      hideRange(0, kFixedLabelBoxes);
      break;
    }
    case 5: {
      for (int i = 0; i < FNumGraphs && kAreaBox + i < boxes; ++i) {
        TMultiLabel& box = *FLabelBoxes[static_cast<size_t>(kAreaBox + i)];
        TRowFill fill{font};
        prepareRows(box, fill);
        const std::string leftName =
            EntryBytes(FData->FChannelNames, FAxisBtn[static_cast<size_t>(2 * i + 1)]->Tag());
        const std::string rightName =
            EntryBytes(FData->FChannelNames, FAxisBtn[static_cast<size_t>(2 * i + 2)]->Tag());
        for (int j = 0; j < runs; ++j) {
          const TRunData* run = FData->Run(static_cast<uint32_t>(j));
          const TChannel* lc = run ? run->FShown[static_cast<size_t>(2 * i)] : nullptr;
          const TChannel* rc = run ? run->FShown[static_cast<size_t>(2 * i + 1)] : nullptr;
          TLabelCell* cell0 = box.Label(j, 0);
          TLabelCell* cell1 = box.Label(j, 1);
          if (!lc && !rc) {
            fill.Flatten(cell0);
            fill.Flatten(cell1);
            continue;
          }
          const auto text = [&](const TChannel& c, const std::string& name) {
            return QString::fromStdString(Format(
                "%s %s %s = %f", {FileNameUtf8(*run), areaWord.toStdString(), name, c.FArea}));
          };
          const TColor leftColor = run->FPens[static_cast<size_t>(2 * i)].FColor;
          const TColor rightColor = run->FPens[static_cast<size_t>(2 * i + 1)].FColor;
          if (lc) {
            fill.Text(cell0, text(*lc, leftName));
            fill.Color(cell0, leftColor);
            fill.Text(cell1, rc ? text(*rc, rightName) : QString());
            fill.Color(cell1, rightColor);
          } else {
            fill.Text(cell0, text(*rc, rightName));
            fill.Color(cell0, rightColor);
            fill.Text(cell1, {});
          }
        }
        finish(box, fill, graphArea(box), true);
      }
      hideRange(0, kAreaBox);
      hideRange(kAreaBox + FNumGraphs, boxes);
      break;
    }
    default:
      break;
  }
}

void TWPGraph::LabelMoved(QObject* sender, QObject*, int, int) {
  TMultiLabel* box = nullptr;
  for (const auto& candidate : FLabelBoxes) {
    if (candidate.get() == sender) box = candidate.get();
  }
  if (!box) return;
  const int current = box->GraphIndex();
  const int y = box->y();
  // The band of each graph reaches down to its plot's bottom edge.
  const auto inBand = [&](int g) {
    switch (g) {
      case 0:
        return y <= FGraphRect[0].Bottom;
      case 1:
        return FGraphRect[0].Bottom < y && y <= FGraphRect[1].Bottom;
      default:
        return y > FGraphRect[1].Bottom;
    }
  };
  for (int g = 0; g < FNumGraphs; ++g) {
    if (g == current || !inBand(g)) continue;
    const TRect& plot = FGraphRect[static_cast<size_t>(g)];
    box->SetGraphIndex(g);
    if (plot.Width() != 0) box->SetXPercent((box->x() - plot.Left) * 100.0f / plot.Width());
    if (plot.Height() != 0) box->SetYPercent((y - plot.Top) * 100.0f / plot.Height());
    box->SetRect(ToQRect(plot));
    return;
  }
}

void TWPGraph::MouseEnterLabel(QObject*) {
  if (FMouseGraph < 0 || !FDisplayCoordinates) return;
  // The read-out lives on the screen only: repainting its place from the picture erases it.
  update(QRect(FReadoutRect.Left, FReadoutRect.Top, FReadoutRect.Width(), FReadoutRect.Height()));
  FMouseGraph = -1;
}

TMultiLabel* TWPGraph::AddLabel() {
  auto box = std::make_unique<TMultiLabel>(this);
  box->hide();
  box->SetStyle(pbsDrag);
  box->SetTransparent(true);
  box->OnMouseEnter = [this](QObject* sender) { MouseEnterLabel(sender); };
  FLabelBoxes.push_back(std::move(box));
  return FLabelBoxes.back().get();
}
