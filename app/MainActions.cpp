// The window's actions with their handlers, the main menu, the two pop-up menus, the graph
// tool bar with its correction-factor combo and smoothing track bar, and the check marks.

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolBar>

#include <algorithm>

#include "Language.h"
#include "MainForm.h"
#include "RunListView.h"
#include "ToolbarIcons.h"
#include "WPGraph.h"

namespace {

constexpr int kSmallToolbar = 16;
constexpr int kLargeToolbar = 24;
constexpr int kComboTextPadding = 25;
constexpr int kTrackBarWidth = 100;
// Cursor font sizes of the Small, Medium and Large items (cells of 13, 16 and 19 pixels).
constexpr int kCursorSmall = -10;
constexpr int kCursorMedium = -12;
constexpr int kCursorLarge = -14;

QAction* NewAction(QObject* owner, const char* caption, bool checkable = false) {
  auto* action = new QAction(QString::fromUtf8(caption), owner);
  action->setCheckable(checkable);
  return action;
}

// The tool bar picture of each action that has a tool button.
struct TActionImage {
  QAction* TMainActions::*Action;
  int Image;
};
constexpr TActionImage kActionImages[] = {
    {&TMainActions::OpenFile, tiOpen},
    {&TMainActions::RemoveAllRuns, tiRemoveAll},
    {&TMainActions::NumGraphs1, tiOneGraph},
    {&TMainActions::NumGraphs2, tiTwoGraphs},
    {&TMainActions::NumGraphs3, tiThreeGraphs},
    {&TMainActions::ZoomMode, tiZoom},
    {&TMainActions::PanMode, tiPan},
    {&TMainActions::PointModeAction, tiPointMode},
    {&TMainActions::Rescale, tiRescale},
};

}  // namespace

void TFormMain::CreateActions() {
  TMainActions& a = FActions;
  a.FileAction = NewAction(this, "&File");
  a.ToolsMenuAction = NewAction(this, "&Tools");
  a.HelpMenuAction = NewAction(this, "&Help");

  a.OpenFile = NewAction(this, "&Open");
  a.OpenFile->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(a.OpenFile, &QAction::triggered, this, [this] { OpenFileExecute(); });
  a.RemoveAllRuns = NewAction(this, "Remove All Runs");
  a.RemoveAllRuns->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
  connect(a.RemoveAllRuns, &QAction::triggered, this, [this] { RemoveAllRunsExecute(); });
  a.RemoveSelectedRuns = NewAction(this, "Remove Selected Run(s)");
  connect(a.RemoveSelectedRuns, &QAction::triggered, this, [this] { RemoveSelectedRunsExecute(); });
  a.PrinterSetup = NewAction(this, "Printer Setup");
  connect(a.PrinterSetup, &QAction::triggered, this, [this] { PrinterSetupExecute(); });
  a.Print = NewAction(this, "&Print");
  connect(a.Print, &QAction::triggered, this, [this] { PrintExecute(); });
  a.Exit = NewAction(this, "&Exit");
  a.Exit->setShortcut(QKeySequence::Quit);
  a.Exit->setMenuRole(QAction::QuitRole);
  connect(a.Exit, &QAction::triggered, this, &QWidget::close);
  a.About = NewAction(this, "&About");
  a.About->setShortcut(QKeySequence::HelpContents);
  a.About->setMenuRole(QAction::AboutRole);
  connect(a.About, &QAction::triggered, this, [this] { AboutBoxExecute(); });
  // The environment options dialog is not part of this version; the entry stays in its place.
  a.EnvironmentOptions = NewAction(this, "Environment Options");
  a.EnvironmentOptions->setEnabled(false);

  a.GraphOptionsMenu = NewAction(this, "&Graph Options");
  a.MouseModeAction = NewAction(this, "Mouse Mode");
  a.CrsrOptions = NewAction(this, "Cursor Options");
  connect(a.CrsrOptions, &QAction::triggered, this, [this] {
    FActions.DisplayCrsrTitles->setChecked(Graph->crsrTitles());
    FActions.DisplayCrsrTypes->setChecked(Graph->crsrTypes());
  });
  a.FontSize = NewAction(this, "Font Size");
  connect(a.FontSize, &QAction::triggered, this, [this] {
    const int size = Graph->CursorFont().Size();
    if (size != kCursorSmall && size != kCursorMedium && size != kCursorLarge) return;
    FActions.CrsrSmall->setChecked(size == kCursorSmall);
    FActions.CrsrMedium->setChecked(size == kCursorMedium);
    FActions.CrsrLarge->setChecked(size == kCursorLarge);
  });
  a.Display = NewAction(this, "Display");
  a.CorrectionFactor = NewAction(this, "Correction Factor");
  connect(a.CorrectionFactor, &QAction::triggered, this, [this] { ShowCorrectionFactorChecks(); });
  a.SmoothingAction = NewAction(this, "Smoothing");
  connect(a.SmoothingAction, &QAction::triggered, this,
          [this] { SmoothingActionExecute(FActions.SmoothingAction); });

  a.ZoomMode = NewAction(this, "&Zoom Mode", true);
  a.ZoomMode->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  connect(a.ZoomMode, &QAction::triggered, this, [this] { SetMouseMode(zmZoom); });
  a.PanMode = NewAction(this, "&Pan Mode", true);
  a.PanMode->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  connect(a.PanMode, &QAction::triggered, this, [this] { SetMouseMode(zmPan); });
  a.PointModeAction = NewAction(this, "Point Mode", true);
  connect(a.PointModeAction, &QAction::triggered, this, [this] { SetMouseMode(zmNone); });

  a.Rescale = NewAction(this, "&Rescale");
  a.Rescale->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  connect(a.Rescale, &QAction::triggered, this, [this] { RescaleExecute(); });
  a.Unzoom = NewAction(this, "Unzoom");
  connect(a.Unzoom, &QAction::triggered, this, [this] { Graph->Unzoom(); });
  a.Rezoom = NewAction(this, "Rezoom");
  connect(a.Rezoom, &QAction::triggered, this, [this] { Graph->Rezoom(); });
  a.ForceScaling = NewAction(this, "&Force Scaling", true);
  connect(a.ForceScaling, &QAction::triggered, this, [this] {
    Graph->SetForceScl(!Graph->ForceScale());
    FActions.ForceScaling->setChecked(Graph->ForceScale());
    RescaleExecute();
  });
  a.Negative = NewAction(this, "&Display Negative", true);
  connect(a.Negative, &QAction::triggered, this, [this] {
    Graph->SetNegative(!Graph->ShowNegative());
    FActions.Negative->setChecked(Graph->ShowNegative());
    RescaleExecute();
  });
  a.Cursor = NewAction(this, "&Cursor", true);
  connect(a.Cursor, &QAction::triggered, this, [this] {
    Graph->SetDisplayCursor(!Graph->DisplayCursor());
    FActions.Cursor->setChecked(Graph->DisplayCursor());
    Graph->resetCrsrNums();
    if (!FLoading) ReInitGraph();
  });
  a.DisplayCrsrTitles = NewAction(this, "Display Titles", true);
  connect(a.DisplayCrsrTitles, &QAction::triggered, this, [this] {
    Graph->SetCrsrTitles(!Graph->crsrTitles());
    FActions.DisplayCrsrTitles->setChecked(Graph->crsrTitles());
    if (!FLoading) ReInitGraph();
  });
  a.DisplayCrsrTypes = NewAction(this, "Display Types", true);
  connect(a.DisplayCrsrTypes, &QAction::triggered, this, [this] {
    Graph->SetCrsrTypes(!Graph->crsrTypes());
    FActions.DisplayCrsrTypes->setChecked(Graph->crsrTypes());
    if (!FLoading) ReInitGraph();
  });
  a.CrsrSmall = NewAction(this, "Small", true);
  connect(a.CrsrSmall, &QAction::triggered, this, [this] { SetCursorFontSize(kCursorSmall); });
  a.CrsrMedium = NewAction(this, "Medium", true);
  connect(a.CrsrMedium, &QAction::triggered, this, [this] { SetCursorFontSize(kCursorMedium); });
  a.CrsrLarge = NewAction(this, "Large", true);
  connect(a.CrsrLarge, &QAction::triggered, this, [this] { SetCursorFontSize(kCursorLarge); });

  a.DisplayNothing = NewAction(this, "Display Nothing", true);
  connect(a.DisplayNothing, &QAction::triggered, this, [this] { SetLabelAction(0); });
  a.DisplayMaxValues = NewAction(this, "Display Max Values", true);
  connect(a.DisplayMaxValues, &QAction::triggered, this, [this] { SetLabelAction(1); });
  a.DisplayConditions = NewAction(this, "Display Conditions", true);
  connect(a.DisplayConditions, &QAction::triggered, this, [this] { SetLabelAction(2); });
  a.DisplayTitles = NewAction(this, "Display Titles", true);
  connect(a.DisplayTitles, &QAction::triggered, this, [this] { SetLabelAction(3); });

  // The graph buttons press one another out; none is pressed while no graph is shown.
  auto* graphs = new QActionGroup(this);
  graphs->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  a.NumGraphs1 = graphs->addAction(NewAction(this, "", true));
  a.NumGraphs2 = graphs->addAction(NewAction(this, "", true));
  a.NumGraphs3 = graphs->addAction(NewAction(this, "", true));
  connect(a.NumGraphs1, &QAction::triggered, this, [this] { SetNumGraphsAction(1); });
  connect(a.NumGraphs2, &QAction::triggered, this, [this] { SetNumGraphsAction(2); });
  connect(a.NumGraphs3, &QAction::triggered, this, [this] { SetNumGraphsAction(3); });

  for (int i = 0; i <= kMaxSmoothing; ++i) {
    QAction* action = NewAction(this, "", true);
    action->setText(QString::number(i));
    connect(action, &QAction::triggered, this, [this, action] { SmoothingActionExecute(action); });
    a.Smoothing_[static_cast<size_t>(i)] = action;
  }
  addActions({a.OpenFile, a.RemoveAllRuns, a.Exit, a.About, a.ZoomMode, a.PanMode, a.Rescale});
}

void TFormMain::ConnectSubmenu(QMenu* menu, QAction* action) {
  const auto sync = [menu, action] {
    menu->setTitle(action->text());
    menu->menuAction()->setStatusTip(action->statusTip());
    menu->menuAction()->setToolTip(action->toolTip());
    menu->setEnabled(action->isEnabled());
  };
  sync();
  connect(action, &QAction::changed, menu, sync);
  // Opening the submenu runs its action, which brings its check marks up to date.
  connect(menu, &QMenu::aboutToShow, action, &QAction::trigger);
}

QMenu* TFormMain::AddSubmenu(QMenu* parent, QAction* action) {
  auto* menu = new QMenu(parent);
  ConnectSubmenu(menu, action);
  parent->addMenu(menu);
  return menu;
}

QMenu* TFormMain::AddSubmenu(QMenuBar* parent, QAction* action) {
  auto* menu = new QMenu(parent);
  ConnectSubmenu(menu, action);
  parent->addMenu(menu);
  return menu;
}

void TFormMain::CreateMenus() {
  const TMainActions& a = FActions;
  QMenuBar* bar = menuBar();

  QMenu* file = AddSubmenu(bar, a.FileAction);
  file->addAction(a.OpenFile);
  file->addAction(a.RemoveAllRuns);
  file->addSeparator();
  file->addAction(a.PrinterSetup);
  file->addAction(a.Print);
  file->addSeparator();
  FControls.MenuItemRecent = file->addMenu(QStringLiteral("Recent"));
  file->addSeparator();
  file->addAction(a.Exit);

  QMenu* tools = AddSubmenu(bar, a.ToolsMenuAction);
  QMenu* graphOptions = AddSubmenu(tools, a.GraphOptionsMenu);
  QMenu* mouse = AddSubmenu(graphOptions, a.MouseModeAction);
  mouse->addActions({a.PointModeAction, a.PanMode, a.ZoomMode});
  QMenu* cursorOptions = AddSubmenu(graphOptions, a.CrsrOptions);
  cursorOptions->addActions({a.CrsrSmall, a.CrsrMedium, a.CrsrLarge});
  graphOptions->addActions({a.Cursor, a.Rescale, a.Unzoom, a.Rezoom, a.ForceScaling, a.Negative});
  QMenu* display = AddSubmenu(graphOptions, a.Display);
  display->addActions({a.DisplayMaxValues, a.DisplayConditions, a.DisplayTitles, a.DisplayNothing});
  FControls.CorrectionFactor2 = AddSubmenu(graphOptions, a.CorrectionFactor);
  QMenu* smoothing = AddSubmenu(graphOptions, a.SmoothingAction);
  for (QAction* action : a.Smoothing_)
    smoothing->addAction(action);
  tools->addAction(a.EnvironmentOptions);

  QMenu* help = AddSubmenu(bar, a.HelpMenuAction);
  help->addAction(a.About);

  // Run list pop-up; Delete removes the selected runs while the list has the focus.
  FControls.PopupListView = new QMenu(this);
  FControls.PopupListView->addActions({a.RemoveSelectedRuns, a.RemoveAllRuns});
  connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    FControls.PopupListView->popup(ListView1->viewport()->mapToGlobal(pos));
  });
  auto* remove = new QShortcut(QKeySequence::Delete, ListView1, nullptr, nullptr,
                               Qt::WidgetWithChildrenShortcut);
  connect(remove, &QShortcut::activated, this, [this] { RemoveSelectedRunsExecute(); });

  // Graph pop-up.
  QMenu* popup = new QMenu(this);
  FControls.PopupGraph = popup;
  QMenu* popupMouse = AddSubmenu(popup, a.MouseModeAction);
  popupMouse->addActions({a.PointModeAction, a.PanMode, a.ZoomMode});
  QMenu* popupCursor = AddSubmenu(popup, a.CrsrOptions);
  popupCursor->addActions({a.DisplayCrsrTitles, a.DisplayCrsrTypes});
  QMenu* fontSize = AddSubmenu(popupCursor, a.FontSize);
  fontSize->addActions({a.CrsrSmall, a.CrsrMedium, a.CrsrLarge});
  popup->addActions({a.Cursor, a.Rescale, a.Unzoom, a.Rezoom, a.ForceScaling, a.Negative});
  QMenu* popupDisplay = AddSubmenu(popup, a.Display);
  popupDisplay->addActions(
      {a.DisplayMaxValues, a.DisplayConditions, a.DisplayTitles, a.DisplayNothing});
  FControls.CorrectionFactor1 = AddSubmenu(popup, a.CorrectionFactor);
  QMenu* popupSmoothing = AddSubmenu(popup, a.SmoothingAction);
  for (QAction* action : a.Smoothing_)
    popupSmoothing->addAction(action);
  connect(Graph, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { FControls.PopupGraph->popup(Graph->mapToGlobal(pos)); });
}

void TFormMain::CreateToolBar() {
  const TMainActions& a = FActions;
  auto* bar = new QToolBar(QStringLiteral("Graph Toolbar"), this);
  bar->setObjectName(QStringLiteral("GraphToolBar"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->toggleViewAction()->setVisible(false);
  addToolBar(Qt::TopToolBarArea, bar);
  FControls.GraphToolBar = bar;

  bar->addAction(a.OpenFile);
  bar->addAction(a.RemoveAllRuns);
  bar->addSeparator();
  bar->addActions({a.NumGraphs1, a.NumGraphs2, a.NumGraphs3});

  FControls.CFLabel = new QLabel(bar);
  FControls.CFLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  bar->addWidget(FControls.CFLabel);
  FControls.CFCombo = new QComboBox(bar);
  FControls.CFCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(FControls.CFCombo, &QComboBox::activated, this,
          [this] { CorrectionFactorPicked(FControls.CFCombo); });
  bar->addWidget(FControls.CFCombo);

  FControls.SmoothingLabel = new QLabel(bar);
  bar->addWidget(FControls.SmoothingLabel);
  auto* track = new QSlider(Qt::Horizontal, bar);
  track->setRange(0, kMaxSmoothing);
  track->setPageStep(1);
  track->setSingleStep(1);
  track->setTickInterval(1);
  track->setTickPosition(QSlider::TicksBelow);
  track->setFixedWidth(kTrackBarWidth);
  track->setValue(1);
  connect(track, &QSlider::valueChanged, this, [this] { SmoothingTrackBarChange(); });
  FControls.SmoothingTrackBar = track;
  bar->addWidget(track);
  FControls.SmoothingValueLabel = new QLabel(QStringLiteral(" 1 "), bar);
  bar->addWidget(FControls.SmoothingValueLabel);

  bar->addSeparator();
  bar->addActions({a.ZoomMode, a.PanMode, a.PointModeAction});
  bar->addSeparator();
  bar->addAction(a.Rescale);
  SetToolbarSize(kSmallToolbar);
}

void TFormMain::SetToolbarSize(int size) {
  FToolbarSize = size == kSmallToolbar ? kSmallToolbar : kLargeToolbar;
  for (const TActionImage& image : kActionImages)
    (FActions.*image.Action)->setIcon(ToolbarIcon(image.Image, FToolbarSize));
  FControls.GraphToolBar->setIconSize(QSize(FToolbarSize, FToolbarSize));
}

// ---- Handlers ----

void TFormMain::SetMouseMode(int mode) {
  Graph->SetZoomMode(static_cast<TZoomModeType>(mode));
  FActions.ZoomMode->setChecked(mode == zmZoom);
  FActions.PanMode->setChecked(mode == zmPan);
  FActions.PointModeAction->setChecked(mode == zmNone);
}

void TFormMain::SetLabelAction(int type) {
  FActions.DisplayNothing->setChecked(type == 0);
  FActions.DisplayMaxValues->setChecked(type == 1);
  FActions.DisplayConditions->setChecked(type == 2);
  FActions.DisplayTitles->setChecked(type == 3);
  Graph->SetLabelType(type);
}

void TFormMain::SetNumGraphsAction(int n) {
  const int old = Graph->NumGraphs();
  Graph->SetNumGraphs(n);
  QAction* buttons[] = {FActions.NumGraphs1, FActions.NumGraphs2, FActions.NumGraphs3};
  buttons[n - 1]->setChecked(true);
  if (!FLoading && Graph->NumGraphs() != old) ReInitGraph();
}

void TFormMain::RescaleExecute() {
  Graph->ResetScale();
  Graph->SetAutoScale(true);
  Graph->SetSnapToScale(true);
  if (!FLoading) ReInitGraph();
}

void TFormMain::SetCursorFontSize(int size) {
  TFont font = Graph->CursorFont();
  font.SetSize(size);
  Graph->SetCursorFont(font);
  FActions.CrsrSmall->setChecked(size == kCursorSmall);
  FActions.CrsrMedium->setChecked(size == kCursorMedium);
  FActions.CrsrLarge->setChecked(size == kCursorLarge);
  if (!FLoading) ReInitGraph();
}

void TFormMain::SmoothingActionExecute(QObject* sender) {
  TGphData& data = Graph->GetData();
  const int old = data.FSmoothing;
  for (QAction* action : FActions.Smoothing_)
    action->setChecked(false);
  int value = old;
  for (int i = 0; i <= kMaxSmoothing; ++i) {
    if (sender == FActions.Smoothing_[static_cast<size_t>(i)]) value = i;
  }
  if (value >= 0 && value <= kMaxSmoothing)
    FActions.Smoothing_[static_cast<size_t>(value)]->setChecked(true);
  {
    // The track bar's own change would come back here.
    const QSignalBlocker block(FControls.SmoothingTrackBar);
    FControls.SmoothingTrackBar->setValue(std::clamp(value, 0, kMaxSmoothing));
  }
  FControls.SmoothingValueLabel->setText(
      QStringLiteral(" %1 ").arg(FControls.SmoothingTrackBar->value()));
  data.FSmoothing = value;
  if (!FLoading && value != old) {
    GraphRequestData();
    ReInitGraph();
  }
}

void TFormMain::SmoothingTrackBarChange() {
  const int position = std::clamp(FControls.SmoothingTrackBar->value(), 0, kMaxSmoothing);
  SmoothingActionExecute(FActions.Smoothing_[static_cast<size_t>(position)]);
}

void TFormMain::BuildCorrectionFactorMenus() {
  TMainControls& c = FControls;
  const TGphData& data = Graph->GetData();
  c.CFCombo->clear();
  c.CorrectionFactor1->clear();
  c.CorrectionFactor2->clear();
  c.CorrectionItems1.clear();
  c.CorrectionItems2.clear();
  const QFontMetrics metrics(font());
  int widest = 0;
  for (const TCorrectionFactor& factor : data.FCFs) {
    const QString shortName = QString::fromStdString(CFString(factor.FIndex, 1));
    const QString longName = QString::fromStdString(CFString(factor.FIndex, 0));
    for (QMenu* menu : {c.CorrectionFactor1, c.CorrectionFactor2}) {
      QAction* item = menu->addAction(shortName);
      item->setCheckable(true);
      item->setStatusTip(longName);
      item->setToolTip(longName);
      connect(item, &QAction::triggered, this, [this, item] { CorrectionFactorPicked(item); });
      (menu == c.CorrectionFactor1 ? c.CorrectionItems1 : c.CorrectionItems2).push_back(item);
    }
    c.CFCombo->addItem(shortName);
    widest = std::max(widest, metrics.horizontalAdvance(shortName));
  }
  const QSignalBlocker block(c.CFCombo);
  if (data.FCFIndex >= 0 && data.FCFIndex < c.CFCombo->count())
    c.CFCombo->setCurrentIndex(data.FCFIndex);
  // Room for the text and the arrow; the style may need more than the design's 25 pixels.
  c.CFCombo->setMinimumWidth(widest + kComboTextPadding);
}

void TFormMain::CorrectionFactorPicked(QObject* sender) {
  TMainControls& c = FControls;
  TGphData& data = Graph->GetData();
  const int old = data.FCFIndex;
  const int count = static_cast<int>(data.FCFs.size());
  int comboIndex = c.CFCombo->currentIndex();
  if (comboIndex >= 0 && comboIndex < count &&
      static_cast<int>(c.CorrectionItems1.size()) >= count &&
      static_cast<int>(c.CorrectionItems2.size()) >= count) {
    int chosen = 0;
    for (int i = 0; i < count; ++i) {
      QAction* item1 = c.CorrectionItems1[static_cast<size_t>(i)];
      QAction* item2 = c.CorrectionItems2[static_cast<size_t>(i)];
      item1->setChecked(false);
      item2->setChecked(false);
      // After a match the combo no longer counts, so a clicked item wins over the combo.
      if (sender == item1 || sender == item2 || comboIndex == i) {
        chosen = i;
        comboIndex = -1;
      }
    }
    data.FCFIndex = chosen;
    c.CorrectionItems1[static_cast<size_t>(chosen)]->setChecked(true);
    c.CorrectionItems2[static_cast<size_t>(chosen)]->setChecked(true);
    const QSignalBlocker block(c.CFCombo);
    c.CFCombo->setCurrentIndex(chosen);
  }
  if (!FLoading && data.FCFIndex != old) {
    GraphRequestData();
    ReInitGraph();
  }
}

void TFormMain::ShowCorrectionFactorChecks() {
  const int index = Graph->GetData().FCFIndex;
  for (const auto* items : {&FControls.CorrectionItems1, &FControls.CorrectionItems2}) {
    for (size_t i = 0; i < items->size(); ++i)
      (*items)[i]->setChecked(static_cast<int>(i) == index);
  }
}

void TFormMain::SyncGraphActions() {
  const int mode = Graph->ZoomMode();
  FActions.ZoomMode->setChecked(mode == zmZoom);
  FActions.PanMode->setChecked(mode == zmPan);
  FActions.PointModeAction->setChecked(mode == zmNone);
  // Label types without an action (custom labels, areas) leave all four unchecked.
  const int labelType = Graph->LabelType();
  FActions.DisplayNothing->setChecked(labelType == 0);
  FActions.DisplayMaxValues->setChecked(labelType == 1);
  FActions.DisplayConditions->setChecked(labelType == 2);
  FActions.DisplayTitles->setChecked(labelType == 3);
  FActions.ForceScaling->setChecked(Graph->ForceScale());
  FActions.Negative->setChecked(Graph->ShowNegative());
  FActions.Cursor->setChecked(Graph->DisplayCursor());
  const TGphData& data = Graph->GetData();
  {
    const QSignalBlocker block(FControls.SmoothingTrackBar);
    FControls.SmoothingTrackBar->setValue(std::clamp(data.FSmoothing, 0, kMaxSmoothing));
  }
  FControls.SmoothingValueLabel->setText(
      QStringLiteral(" %1 ").arg(FControls.SmoothingTrackBar->value()));
  if (data.FCFIndex >= 0 && data.FCFIndex < FControls.CFCombo->count()) {
    const QSignalBlocker block(FControls.CFCombo);
    FControls.CFCombo->setCurrentIndex(data.FCFIndex);
  }
  QAction* buttons[] = {FActions.NumGraphs1, FActions.NumGraphs2, FActions.NumGraphs3};
  for (int n = 1; n <= 3; ++n)
    buttons[n - 1]->setChecked(Graph->NumGraphs() == n);
}
