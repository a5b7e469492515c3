// The graph's data requests, the run rows and notes, and the run list's commands: open,
// remove all, remove selected, run summary.

#include <QFileDialog>
#include <QFileInfo>
#include <QTextEdit>

#include <algorithm>

#include "Language.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "Registry.h"
#include "RegistryTable.h"
#include "RunFile.h"
#include "RunListView.h"
#include "RunSummary.h"
#include "RunTexts.h"
#include "SettingsKeys.h"
#include "StringIds.h"
#include "WPGraph.h"

namespace {

QString Str(int id) {
  return QString::fromStdString(LangStr(id));
}

// One entry: "*.DRF" and every extension ending in a digit (the numbered runs "RUN.003").
// Both cases of DRF, since the file systems here tell them apart.
QString RunFileFilter() {
  QString patterns = QStringLiteral("*.DRF *.drf");
  for (int digit = 0; digit <= 9; ++digit)
    patterns += QStringLiteral(" *.*%1").arg(digit);
  return Str(kStrRunFilesFilter) + QStringLiteral(" (*.###) or (*.DRF) (") + patterns +
         QLatin1Char(')');
}

std::string PathBytes(const QString& fileName) {
  return QFile::encodeName(fileName).toStdString();
}

// The folder part of a chosen file, with its trailing separator.
QString FolderWithSeparator(const QString& fileName) {
  if (fileName.isEmpty()) return {};
  QString folder = QFileInfo(fileName).absolutePath();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

}  // namespace

void TFormMain::GraphRequestData() {
  if (!Graph) return;
  TGphData& data = Graph->GetData();
  if (const uint16_t code = data.CalculateData(); code != 0) {
    ShowMessageBox(this, Str(kStrErrorCalculating) + QString::number(code), Str(kStrError),
                   TMessageIcon::miWarning);
  }
  data.BuildChannelTable();
  data.BuildChannelNames();
  data.BuildUnitNames();
  // The graph refills its strings through FillGraphStrings.
  Graph->LoadStrings();
  for (uint32_t r = 0; r < data.NumRuns(); ++r)
    data.CalcRunRanges(r, Graph->ShowNegative());
  UpdateRunRows();
}

void TFormMain::UpdateRunRows() {
  const TGphData& data = Graph->GetData();
  for (uint32_t r = 0; r < data.NumRuns(); ++r) {
    const int row = static_cast<int>(r);
    const TRunData* run = data.Run(r);
    if (!run || row >= ListView1->Count() || ListView1->SubItemCount(row) <= 4) continue;
    ListView1->SetCaption(row, RunFileNameText(*run));
    ListView1->SetSubItem(row, 0, RunTitleText(*run));
    ListView1->SetSubItem(row, 1, RunDateText(*run));
    ListView1->SetSubItem(row, 2, RunTypeText(*run));
    ListView1->SetSubItem(row, 3, RunPathText(*run));
    ListView1->SetSubItem(row, 4, GearRatioText(*run));
  }
}

void TFormMain::FillGraphStrings(QStringList& list, int count) {
  list.clear();
  // The graph reads these by position, so the factor's place is kept even without one.
  const TGphData& data = Graph->GetData();
  QString factor;
  if (data.FCFIndex >= 0 && static_cast<size_t>(data.FCFIndex) < data.FCFs.size())
    factor =
        QString::fromStdString(CFString(data.FCFs[static_cast<size_t>(data.FCFIndex)].FIndex, 1));
  list.append(factor);
  list.append(Str(kStrMainTitle));
  for (int i = 1; i < count; ++i)
    list.append(Str(kStrGraphStringsFirst + i - 1));
}

void TFormMain::OpenFileExecute(const std::optional<QString>& initialFolder) {
  QString folder;
  if (initialFolder) {
    folder = *initialFolder;
  } else {
    TRegKeyScope key(*FRegistry, SettingsKey::Path);
    if (key) folder = QString::fromStdString(ReadSettingOr(*FRegistry, SettingsKey::FileOpenPath));
  }
  const std::optional<QStringList> chosen =
      FFileChooser ? FFileChooser(folder) : ChooseRunFiles(folder);
  if (chosen) {
    for (auto name = chosen->crbegin(); name != chosen->crend(); ++name) {
      if (CheckRunFile(PathBytes(*name)) == 0) LoadRun(*name);
    }
    ReInitGraph();
  }
  // The dialog's file name is its first chosen file; after a cancel there is none.
  const QString fileName = chosen && !chosen->isEmpty() ? chosen->front() : QString();
  TRegKeyScope key(*FRegistry, SettingsKey::Path);
  if (key)
    WriteSetting(*FRegistry, SettingsKey::FileOpenPath,
                 FolderWithSeparator(fileName).toStdString());
}

std::optional<QStringList> TFormMain::ChooseRunFiles(const QString& initialFolder) {
  QFileDialog dialog(this, Str(kStrOpenHint), initialFolder, RunFileFilter());
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setViewMode(QFileDialog::Detail);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFiles();
}

void TFormMain::RemoveAllRunsExecute() {
  TGphData& data = Graph->GetData();
  // Each deletion takes one run; the count bounds the loop whatever the graph does.
  for (uint32_t left = data.NumRuns(); left > 0 && data.NumRuns() > 0; --left)
    Graph->DeleteRun(0);
  GraphRequestData();
  Graph->SetAxisBtnTags();
  ReInitGraph();
}

void TFormMain::RemoveSelectedRunsExecute() {
  const auto firstSelected = [this] {
    for (int row = 0; row < ListView1->Count(); ++row) {
      if (ListView1->IsItemSelected(row)) return row;
    }
    return -1;
  };
  const int first = firstSelected();
  if (first < 0 || !(ListView1->hasFocus() || ListView1->viewport()->hasFocus())) return;
  const int count = static_cast<int>(ListView1->selectedItems().size());
  ListView1->setUpdatesEnabled(false);
  for (int k = 0; k < count; ++k) {
    const int row = firstSelected();
    if (row < 0) break;
    const int rows = ListView1->Count();
    Graph->DeleteRun(row);
    // A run the data set refused would stay selected and be found again.
    if (ListView1->Count() >= rows) break;
  }
  ListView1->setUpdatesEnabled(true);
  if (ListView1->Count() > 0) {
    const int row = std::min(first, ListView1->Count() - 1);
    ListView1->clearSelection();
    QTreeWidgetItem* item = ListView1->topLevelItem(row);
    ListView1->setCurrentItem(item);
    item->setSelected(true);
  }
  GraphRequestData();
  Graph->SetAxisBtnTags();
  ReInitGraph();
}

void TFormMain::ListView1SelectItem(QObject*, int, bool) {
  FControls.MemoNotes->clear();
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.size() != 1) return;
  const int row = ListView1->indexOfTopLevelItem(selected.front());
  if (row < 0) return;
  if (const TRunData* run = Graph->GetData().Run(static_cast<uint32_t>(row)))
    FControls.MemoNotes->setPlainText(NotesPaneText(*run));
}

void TFormMain::ListView1DblClick() {
  for (int row = 0; row < ListView1->Count(); ++row) {
    if (!ListView1->IsItemSelected(row)) continue;
    const TGphData& data = Graph->GetData();
    if (const TRunData* run = data.Run(static_cast<uint32_t>(row))) {
      TRunSummaryDialog dialog(this, *run, data.FUnits);
      dialog.exec();
    }
    return;
  }
}
