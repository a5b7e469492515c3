// Every caption and hint of the window in the current language. The correction-factor items
// keep the texts they were built with.

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QSlider>
#include <QToolBar>

#include "AboutBox.h"
#include "Language.h"
#include "MainForm.h"
#include "RunListView.h"
#include "StringIds.h"
#include "WPGraph.h"

namespace {

QString Str(int id) {
  return QString::fromStdString(LangStr(id));
}

// A hint shows in the status bar and as the tool tip.
void SetHint(QAction* action, const QString& hint) {
  action->setStatusTip(hint);
  action->setToolTip(hint);
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setStatusTip(hint);
  widget->setToolTip(hint);
}

void Set(QAction* action, int captionId, int hintId = 0) {
  action->setText(Str(captionId));
  if (hintId != 0) SetHint(action, Str(hintId));
}

}  // namespace

void TFormMain::ApplyLanguage() {
  ApplyWindowFont();
  const TMainActions& a = FActions;
  const TMainControls& c = FControls;

  Graph->SetMainTitle(Str(kStrMainTitle));
  ListView1->setHeaderLabels({Str(kStrColumnRun), Str(kStrColumnTitle), Str(kStrColumnDate),
                              Str(kStrColumnType), Str(kStrColumnLocation),
                              Str(kStrColumnGearRatio)});
  c.GraphToolBar->setWindowTitle(Str(kStrGraphToolbar));
  SetHint(c.CFCombo, Str(kStrSelectCorrectionFactor));
  c.CFLabel->setText(QStringLiteral("  ") + Str(kStrCorrectionFactor) + QStringLiteral(":   "));
  c.SmoothingLabel->setText(QStringLiteral("  ") + Str(kStrSmoothingColon) + QStringLiteral(" "));
  SetHint(c.SmoothingTrackBar, Str(kStrSmoothingHint));

  Set(a.Exit, kStrExit);
  Set(a.MouseModeAction, kStrMouseMode, kStrMouseModeHint);
  Set(a.PointModeAction, kStrPointMode, kStrPointModeHint);
  Set(a.ZoomMode, kStrZoomModeCaption, kStrZoomModeHint);
  Set(a.PanMode, kStrPanModeCaption, kStrPanModeHint);
  Set(a.Rescale, kStrRescale, kStrRescaleHint);
  Set(a.Cursor, kStrCursor, kStrCursorHint);
  Set(a.ForceScaling, kStrForceScalingCaption, kStrForceScaling);
  for (size_t i = 0; i < a.Smoothing_.size(); ++i)
    a.Smoothing_[i]->setText(QString::number(i));
  Set(a.Negative, kStrNegative);
  Set(a.Unzoom, kStrUnzoom, kStrUnzoom);
  Set(a.Rezoom, kStrRezoom, kStrRezoom);
  Set(a.DisplayMaxValues, kStrDisplayMaxValues);
  Set(a.DisplayConditions, kStrDisplayConditions);
  Set(a.DisplayCrsrTitles, kStrDisplayRunName);
  Set(a.DisplayTitles, kStrDisplayRunName);
  Set(a.DisplayNothing, kStrDisplayNothing);
  Set(a.DisplayCrsrTypes, kStrDisplayUnitName);
  Set(a.OpenFile, kStrOpen, kStrOpenHint);
  Set(a.Print, kStrPrint, kStrPrintHint);
  Set(a.PrinterSetup, kStrPrinterSetup, kStrPrinterSetup);
  Set(a.CrsrSmall, kStrCursorSmall);
  Set(a.CrsrMedium, kStrCursorMedium);
  Set(a.CrsrLarge, kStrCursorLarge);
  SetHint(a.NumGraphs1, Str(kStrShowOneGraph));
  SetHint(a.NumGraphs2, Str(kStrShowTwoGraphs));
  SetHint(a.NumGraphs3, Str(kStrShowThreeGraphs));
  Set(a.CrsrOptions, kStrCursorOptions);
  Set(a.RemoveAllRuns, kStrRemoveAllRuns, kStrRemoveAllRuns);
  Set(a.RemoveSelectedRuns, kStrRemoveSelectedRuns);
  Set(a.FontSize, kStrFontSize);
  Set(a.CorrectionFactor, kStrCorrectionFactor);
  Set(a.SmoothingAction, kStrSmoothing);
  Set(a.GraphOptionsMenu, kStrGraphOptionsMenu);
  Set(a.EnvironmentOptions, kStrEnvironmentOptions, kStrEnvironmentOptionsHint);
  Set(a.HelpMenuAction, kStrHelpMenu);
  Set(a.ToolsMenuAction, kStrToolsMenu);
  Set(a.FileAction, kStrFileMenu);

  c.PanelNotesLabel->setText(Str(kStrNotes) + QStringLiteral(":"));
  c.PanelNotesLabel->setFixedWidth(
      QFontMetrics(font()).horizontalAdvance(c.PanelNotesLabel->text()) + 10);
  const QString title = ApplicationTitle();
  setWindowTitle(title);
  a.About->setText(Str(kStrAbout) + QStringLiteral(" Halvorn Tracewell"));
}
