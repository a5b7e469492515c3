// Every run file enters through LoadRun, whatever its road: the command line, a drop on the
// window, a later start's hand-off, the Open dialog, the Recent menu.

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

#include "Language.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "RunFile.h"
#include "StringIds.h"
#include "WPGraph.h"

namespace {

std::string PathBytes(const QString& fileName) {
  return QFile::encodeName(fileName).toStdString();
}

bool IsLoadError(uint16_t status) {
  return (status & 0xFF) != 0;
}

}  // namespace

void TFormMain::LoadRun(const QString& fileName) {
  TGphData& data = Graph->GetData();
  // At the limit nothing loads and nothing is said; the callers that must tell the user
  // check the limit themselves.
  if (data.NumRuns() < kMaxRuns) {
    auto run = std::make_unique<TRunData>();
    const uint16_t status = LoadFileData(PathBytes(fileName), *run, data.FUnits, data.FOptions);
    if (IsLoadError(status)) {
      run.reset();
      ShowMessageBox(this,
                     QString::fromStdString(LangStr(kStrErrorLoading)) + QStringLiteral(": ") +
                         QString::number(status),
                     QStringLiteral("Error"), TMessageIcon::miWarning);
    } else {
      // The window offers no way to ask for cleaned engine-speed data.
      run->FCleanRPM = 0;
      data.AddRun(std::move(run));
      if (data.OnAddRun) data.OnAddRun(data);
      AddRecentFile(fileName);
      AddRecentDir(fileName);
    }
    // After a failure this concerns the run loaded before, if any.
    if (const uint32_t count = data.NumRuns(); count > 0)
      data.CalcRunRanges(count - 1, Graph->ShowNegative());
  }
  GraphRequestData();
  Graph->ResetScale();
}

void TFormMain::DropFiles(const QStringList& fileNames) {
  const TGphData& data = Graph->GetData();
  const QString tooMany = QString::fromStdString(LangStr(kStrTooManyRuns));
  if (data.NumRuns() >= kMaxRuns) {
    ShowErrorDialog(this, tooMany);
    return;
  }
  for (const QString& name : fileNames) {
    if (CheckRunFile(PathBytes(name)) != 0) continue;
    if (data.NumRuns() >= kMaxRuns) {
      // The remaining files are left, and the graph keeps its picture.
      ShowErrorDialog(this, tooMany);
      return;
    }
    LoadRun(name);
  }
  if (!fileNames.isEmpty()) ReInitGraph();
}

void TFormMain::HandOffReceived(const QString& fileName) {
  DropFiles({fileName});
}

void TFormMain::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void TFormMain::LoadCommandLine() {
  for (const QString& param : FParams) {
    // Relative names count from the folder the program was started in.
    const QString path =
        param.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(param).absoluteFilePath());
    if (!path.isEmpty() && CheckRunFile(PathBytes(path)) == 0) LoadRun(path);
  }
  if (!FParams.isEmpty()) ReInitGraph();
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
    event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event) {
  QStringList names;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) names.append(url.toLocalFile());
  }
  event->acceptProposedAction();
  // Loading may show messages; the drag source is not kept waiting for them.
  QMetaObject::invokeMethod(
      this, [this, names] { DropFiles(names); }, Qt::QueuedConnection);
}
