// Printing the graph as the screen shows it, scaled onto the page, and the printer setup.

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "Language.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "Metafile.h"
#include "Registry.h"
#include "RegistryTable.h"
#include "SettingsKeys.h"
#include "StringIds.h"
#include "WPGraph.h"

namespace {

// Margins of the printed page, in printer pixels.
constexpr int kMargin = 50;

bool PrinterInstalled() {
  return !QPrinterInfo::defaultPrinter().isNull() ||
         !QPrinterInfo::availablePrinterNames().isEmpty();
}

QString Str(int id) {
  return QString::fromStdString(LangStr(id));
}

}  // namespace

void TFormMain::PrintExecute() {
  if (!PrinterInstalled()) {
    ShowErrorDialog(this, Str(kStrNoPrinter));
    return;
  }
  if (Graph->GetData().NumRuns() == 0) {
    ShowErrorDialog(this, Str(kStrNoRunsToPrint));
    return;
  }
  if (!FPrinter) FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintDialog dialog(FPrinter.get(), this);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  if (dialog.exec() != QDialog::Accepted) return;

  const std::unique_ptr<TMetafile> picture = Graph->Metafile();
  QPainter painter;
  if (!painter.begin(FPrinter.get())) return;
  const QRect page = painter.viewport();
  const int graphWidth = std::max(1, picture->Width());
  const int graphHeight = std::max(1, picture->Height());
  // The graph keeps its shape and fits inside the margins.
  const qint64 height = std::max(1, page.height() - 2 * kMargin);
  const qint64 widthLimit = std::max(1, page.width() - 2 * kMargin);
  const qint64 width = std::min<qint64>(widthLimit, graphWidth * height / graphHeight);
  const qint64 fittedHeight = graphHeight * width / graphWidth;
  const QRect target(static_cast<int>((page.width() - width) / 2), kMargin, static_cast<int>(width),
                     static_cast<int>(fittedHeight));
  picture->PlayInto(painter, target);
  painter.end();
  ReInitGraph();
}

void TFormMain::PrinterSetupExecute() {
  if (!PrinterInstalled()) {
    ShowErrorDialog(this, Str(kStrNoPrinter));
    return;
  }
  if (!FPrinter) FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const QPageLayout::Orientation before = FPrinter->pageLayout().orientation();
  QPageSetupDialog dialog(FPrinter.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const QPageLayout::Orientation after = FPrinter->pageLayout().orientation();
  if (after == before) return;
  // The acquisition program prints in the orientation chosen here.
  TRegKeyScope key(*FRegistry, PrintPreviewKey::Path);
  if (key) WriteSetting(*FRegistry, PrintPreviewKey::Orientation, after == QPageLayout::Landscape);
}
