// The graph's runs: the data set's run events, run deletion, the link to the run list with its
// rows and selection (line widening), and the axis buttons' channel entries.

#include <QFile>

#include <algorithm>
#include <cmath>

#include "Cp1252.h"
#include "NumberFormat.h"
#include "WPGraph.h"

namespace {

QString FromCp1252(const std::string& bytes) {
  return QString::fromStdString(Cp1252ToUtf8(bytes));
}

// The gear ratio of the run's first X channel in its selected segment, "N/A" when there is
// none or it is the reset value 1.0.
QString RatioText(const TRunData& run) {
  const TChannel* x = run.FXChannels.empty() ? nullptr : run.FXChannels[0];
  if (!x || !x->FGears) return QStringLiteral("N/A");
  const TGears& gears = *x->FGears;
  if (gears.FSelected < 0 || static_cast<uint32_t>(gears.FSelected) >= gears.Count())
    return QStringLiteral("N/A");
  const float ratio = gears.FRatio[static_cast<size_t>(gears.FSelected)];
  if (!std::isfinite(ratio) || ratio == 1.0f) return QStringLiteral("N/A");
  return QString::fromStdString(FormatFloat("%.2F", ratio));
}

const std::string& EntryText(const std::vector<std::string>& texts, int entry) {
  static const std::string kEmpty;
  return entry >= 0 && static_cast<size_t>(entry) < texts.size() ? texts[static_cast<size_t>(entry)]
                                                                 : kEmpty;
}

}  // namespace

void TWPGraph::GetPermissions() {
  if (OnRequestPermissions) OnRequestPermissions(this, *FData);
}

void TWPGraph::NewRun(TGphData&) {
  const uint32_t count = FData->NumRuns();
  // Runs past the twelfth stay in the data set without row, pens or icon.
  if (count == 0 || count > kMaxRuns) return;
  const int r = static_cast<int>(count) - 1;
  FNumRuns = static_cast<int>(count);
  GetPermissions();
  Raise(OnRequestData);
  // The host's handlers may have changed the runs: go on only with the run still there.
  TRunData* run = FData->Run(static_cast<uint32_t>(r));
  if (!run) return;

  AddListRow(*run, r);
  ApplySlotColors(*run, r);
  ApplySlotStyles(*run, r);

  MatchAxisBtnTags();

  if (FNumRuns == 1) {
    FData->CalcDataRanges();
    for (int a = 0; a < kAxisCount; ++a) {
      FAxes.FManMax[static_cast<size_t>(a)] = FData->GetDataMax(a);
      FAxes.FManMin[static_cast<size_t>(a)] = FData->GetDataMin(a);
    }
  }
  if (!FAutoScaling) {
    FAxes.FAxisMax = FAxes.FManMax;
    FAxes.FAxisMin = FAxes.FManMin;
    UpdateZoom();
  }
  DoLVIcons();
  RedrawQMBox();
}

void TWPGraph::AddListRow(const TRunData& run, int index) {
  if (!FListView) return;
  const int row = FListView->AddItem(
      QFile::decodeName(QByteArray::fromStdString(run.FFileName)),
      {FromCp1252(run.FTitle), QString::fromLocal8Bit(run.FDateText), FromCp1252(run.FType),
       QFile::decodeName(QByteArray::fromStdString(run.FPath)), RatioText(run)});
  FListView->SetImageIndex(row, index);
}

void TWPGraph::RunsCleared(TGphData&) {
  Raise(OnRequestData);
  if (FListView) FListView->Clear();
  for (int a = 0; a < kAxisCount; ++a) {
    FAxisBtn[static_cast<size_t>(a)]->SetTag(0);
    SetAxisCaption(a);
  }
  FNumRuns = 0;
}

void TWPGraph::DeleteRun(int index) {
  if (index >= 0 && FData->DeleteRun(static_cast<uint32_t>(index))) {
    if (FListView) FListView->DeleteItem(index);
    // The deleted run's lines leave the selection without touching any pen (its run is gone
    // and the index now names the next run); the lines of later runs move down with them.
    int kept = 0;
    for (int k = 0; k < FNumSelected; ++k) {
      const size_t from = static_cast<size_t>(k);
      if (FSelRun[from] == index) continue;
      const size_t to = static_cast<size_t>(kept++);
      FSelRun[to] = FSelRun[from] > index ? FSelRun[from] - 1 : FSelRun[from];
      FSelLine[to] = FSelLine[from];
      FSelOffX[to] = FSelOffX[from];
      FSelOffY[to] = FSelOffY[from];
    }
    FNumSelected = kept;
    FNumRuns = static_cast<int>(std::min<uint32_t>(FData->NumRuns(), kRunSlots));
    for (int r = index; r < FNumRuns; ++r) {
      if (TRunData* run = FData->Run(static_cast<uint32_t>(r))) ApplySlotColors(*run, r);
    }
  }
  if (FData->NumRuns() == 0) RunsCleared(*FData);
  GetPermissions();
  DoLVIcons();
}

void TWPGraph::ApplySlotColors(TRunData& run, int slot) {
  if (slot < 0 || slot >= kRunSlots) return;
  for (int k = 0; k < kRunPens; ++k)
    run.FPens[static_cast<size_t>(k)].FColor = FRunColor[static_cast<size_t>(slot)][k % 2];
}

void TWPGraph::ApplySlotStyles(TRunData& run, int slot) {
  if (slot < 0 || slot >= kRunSlots) return;
  for (int k = 0; k < kRunPens; ++k)
    run.FPens[static_cast<size_t>(k)].FStyle = FRunStyle[static_cast<size_t>(slot)][k % 2];
}

void TWPGraph::RunSelected(QObject* sender, int item, bool selected) {
  TRunData* run = item >= 0 && item < FNumRuns ? FData->Run(static_cast<uint32_t>(item)) : nullptr;
  if (run && selected && FListView && FListView->IsItemSelected(item)) {
    for (const auto& channel : run->FChannels) {
      const int c = channel ? channel->FAxis : -1;
      if (c < 1 || c > kRunPens) continue;
      TPen& pen = run->FPens[static_cast<size_t>(c - 1)];
      // A line already drawn wide is someone else's selection; a full list takes no more.
      if (pen.FWidth >= 2 || FNumSelected >= kMaxSelected) continue;
      pen.FWidth = 2;
      FSelRun[static_cast<size_t>(FNumSelected)] = item;
      FSelLine[static_cast<size_t>(FNumSelected)] = c;
      ++FNumSelected;
    }
  } else if (run && !selected) {
    for (const auto& channel : run->FChannels) {
      const int c = channel ? channel->FAxis : -1;
      for (int k = 0; k < FNumSelected; ++k) {
        if (FSelRun[static_cast<size_t>(k)] == item && FSelLine[static_cast<size_t>(k)] == c) {
          Unselect(k);
          break;
        }
      }
    }
  }
  if (FOldSelectItem) FOldSelectItem(sender, item, selected);
}

void TWPGraph::Unselect(int k) {
  if (k < 0 || k >= FNumSelected) return;
  const size_t at = static_cast<size_t>(k);
  if (FSelRun[at] >= 0 && FSelLine[at] >= 1) {
    if (TPen* pen = FData->GetRunPen(static_cast<uint32_t>(FSelRun[at]),
                                     static_cast<uint32_t>(FSelLine[at] - 1)))
      pen->FWidth = 1;
  }
  const size_t last = static_cast<size_t>(FNumSelected - 1);
  FSelRun[at] = FSelRun[last];
  FSelLine[at] = FSelLine[last];
  FSelOffX[at] = FSelOffX[last];
  FSelOffY[at] = FSelOffY[last];
  --FNumSelected;
}

void TWPGraph::ReInit() {
  if (!isVisible()) return;
  LoadStrings();
  DoLVIcons();
  DrawGraph();
  RedrawQMBox();
}

void TWPGraph::SetAxisChannels(std::span<const int32_t> ids) {
  const size_t n = std::min(ids.size(), FAxisChannels.size());
  std::copy_n(ids.begin(), n, FAxisChannels.begin());
  FData->FXChannel = FAxisChannels[0];
  for (size_t a = 1; a < FAxisChannels.size(); ++a)
    FData->FYChannel[a - 1] = FAxisChannels[a];
}

void TWPGraph::SetAxisCaption(int axis) {
  if (axis < 0 || axis >= kAxisCount) return;
  TPanelButton& button = *FAxisBtn[static_cast<size_t>(axis)];
  if (button.Tag() < 0 || static_cast<size_t>(button.Tag()) >= FData->ChannelCount())
    button.SetTag(0);
  const int tag = button.Tag();
  // The next data calculation assigns the axis again to the channels that stay on it.
  if (axis > 0) {
    for (int r = 0; r < FNumRuns; ++r) {
      TRunData* run = FData->Run(static_cast<uint32_t>(r));
      for (int s = 0; run && s < kRunPens; ++s) {
        TChannel* shown = run->FShown[static_cast<size_t>(s)];
        if (shown && shown->FAxis == axis) shown->FAxis = -1;
      }
    }
  }
  FData->FAxisEntry[static_cast<size_t>(axis)] = tag;
  QString caption =
      QStringLiteral(" ") + QString::fromStdString(EntryText(FData->FChannelTitles, tag));
  if (tag > 0) {
    const int32_t id = FData->FChannelIDs[static_cast<size_t>(tag)];
    if (id > 65535) caption += QStringLiteral(" - %1 ").arg(id / 65536 + 1);
  } else {
    caption += QStringLiteral(" ");
    FAxes.FAxisMin[static_cast<size_t>(axis)] = FAxes.FManMin[static_cast<size_t>(axis)] = 0;
    FAxes.FAxisMax[static_cast<size_t>(axis)] = FAxes.FManMax[static_cast<size_t>(axis)] = 100;
  }
  button.SetCaption(caption);
  // Selected lines leave an axis that no longer shows their run's channel.
  for (int k = FNumSelected - 1; k >= 0; --k) {
    const size_t at = static_cast<size_t>(k);
    if (FSelLine[at] != axis) continue;
    const TRunData* run = FData->Run(static_cast<uint32_t>(FSelRun[at]));
    if (tag == 0 || !run || !run->FShown[static_cast<size_t>(axis - 1)]) Unselect(k);
  }
}

void TWPGraph::ListViewKeyDown(QObject*, int, Qt::KeyboardModifiers) {}

void TWPGraph::ListViewKeyUp(QObject*, int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::ControlModifier) return;
  switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
      DrawGraph();
      break;
    default:
      break;
  }
}

void TWPGraph::ListViewMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
  DrawGraph();
}

void TWPGraph::MatchAxisBtnTags() {
  // The last matching entry wins, as the table is searched in order.
  for (size_t i = 0; i < FData->FChannelIDs.size(); ++i) {
    const int32_t id = FData->FChannelIDs[i];
    if (id == FData->FXChannel) FAxisBtn[0]->SetTag(static_cast<int>(i));
    for (int a = 1; a < kAxisCount; ++a) {
      if (id == FData->FYChannel[static_cast<size_t>(a - 1)])
        FAxisBtn[static_cast<size_t>(a)]->SetTag(static_cast<int>(i));
    }
  }
}

void TWPGraph::SetAxisBtnTags() {
  // After runs were removed the table may have shrunk: a button whose channel is gone shows
  // "none" rather than whatever entry now sits at its old index.
  for (auto& button : FAxisBtn)
    button->SetTag(0);
  MatchAxisBtnTags();
  for (int a = 0; a < kAxisCount; ++a)
    SetAxisCaption(a);
}
