// Construction of the main window in its fixed order, its layout, the first showing and the
// closing.

#include "MainForm.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QPrinter>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ComputationOptions.h"
#include "CorrectionFactor.h"
#include "Language.h"
#include "ListBackground.h"
#include "Registry.h"
#include "RegistryTable.h"
#include "RunListView.h"
#include "SettingsKeys.h"
#include "StartupLanguage.h"
#include "Units.h"
#include "WPGraph.h"

namespace {

// Designed sizes of the layout.
constexpr int kDesignWidth = 782;
constexpr int kDesignHeight = 604;
constexpr int kListPanelHeight = 150;
constexpr int kNotesHeight = 46;
constexpr int kNotesLabelWidth = 49;
constexpr int kListSplitterHandle = 8;
constexpr int kGraphSplitterHandle = 7;
constexpr int kGraphBorder = 3;
constexpr int kStatusBarHeight = 23;
constexpr int kColumnWidths[] = {120, 96, 96, 96, 96, 96};

// The graph's fonts as designed: Verdana, bold, black; a positive height is the
// character cell.
TFont DesignedGraphFont(int cellHeight) {
  TFont font;
  font.FName = QStringLiteral("Verdana");
  font.FHeight = cellHeight;
  font.FStyle = fsBold;
  font.FColor = clBlack;
  return font;
}

TFont SizedCopy(const TFont& base, const QString& face) {
  TFont font = base;
  font.FName = face;
  font.SetSize(10);
  return font;
}

}  // namespace

TFormMain::TFormMain(std::filesystem::path configRoot, QStringList params, QWidget* parent)
    : QMainWindow(parent),
      FRegistry(std::make_unique<TRegistry>(std::move(configRoot))),
      FParams(std::move(params)) {
  // The window from its design.
  resize(kDesignWidth, kDesignHeight);
  CreateActions();
  CreateLayout();
  CreateMenus();
  CreateToolBar();
  ApplyGraphDesign();

  // Settings key, recent lists (empty), list background, default font. The units file
  // sits beside the settings, in the program's own config folder.
  FUnitsFile = FRegistry->KeyFile(SettingsKey::Path).replace_extension() / kSelectedUnitsFileName;
  DefaultFont = TFont{};
  DefaultFont.FName = QStringLiteral("MS Sans Serif");
  DefaultFont.SetSize(8);
  DefaultFont.FColor = clBlack;

  // Faces for the Japanese and Chinese texts, when installed.
  if (const QString face = FindChineseFace(); !face.isEmpty())
    ChineseFont = SizedCopy(DefaultFont, face);
  if (const QString face = FindJapaneseFace(); !face.isEmpty())
    JapaneseFont = SizedCopy(DefaultFont, face);

  // Computation options, correction factors, selected units.
  TGphData& data = Graph->GetData();
  LoadComputationOptions(*FRegistry, data.FOptions);
  data.FCFs = LoadCorrectionFactors();
  if (!ReadSelectedUnits(FUnitsFile.string(), data.FUnits)) data.FUnits = BuildDefaultUnits();

  // The graph takes its strings from the window.
  Graph->SetOnLoadStrings([this](QStringList& list, int count) { FillGraphStrings(list, count); });
  Graph->LoadStrings();

  data.BuildUnitNames();
  BuildCorrectionFactorMenus();
  data.BuildChannelTable();
  data.BuildChannelNames();
  Graph->ResetColors();
  FLoading = false;
  FActions.DisplayConditions->trigger();
}

TFormMain::~TFormMain() {
  CloseSettings();
}

TGphData& TFormMain::Data() {
  return Graph->GetData();
}

void TFormMain::CreateLayout() {
  auto* central = new QWidget(this);
  auto* centralLayout = new QVBoxLayout(central);
  centralLayout->setContentsMargins(0, 0, 0, 0);
  setCentralWidget(central);

  auto* splitter1 = new QSplitter(Qt::Vertical, central);
  splitter1->setHandleWidth(kGraphSplitterHandle);
  splitter1->setChildrenCollapsible(false);
  centralLayout->addWidget(splitter1);
  FControls.Splitter1 = splitter1;

  // Run list and notes.
  auto* panelListView = new QWidget(splitter1);
  panelListView->setMinimumHeight(1);
  auto* listLayout = new QVBoxLayout(panelListView);
  listLayout->setContentsMargins(0, 0, 0, 0);
  auto* splitter2 = new QSplitter(Qt::Vertical, panelListView);
  splitter2->setHandleWidth(kListSplitterHandle);
  splitter2->setChildrenCollapsible(false);
  listLayout->addWidget(splitter2);
  FControls.PanelListView = panelListView;
  FControls.Splitter2 = splitter2;

  ListView1 = new TRunListView(splitter2);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setFrameShape(QFrame::NoFrame);
  ListView1->setMinimumHeight(1);
  ListView1->setAllColumnsShowFocus(true);
  for (int c = 0; c < static_cast<int>(std::size(kColumnWidths)); ++c)
    ListView1->header()->resizeSection(c, kColumnWidths[c]);
  // The selection stays as visible without the focus as with it.
  QPalette listPalette = ListView1->palette();
  for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    listPalette.setColor(QPalette::Inactive, role, listPalette.color(QPalette::Active, role));
  ListView1->setPalette(listPalette);
  ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
  ListView1->viewport()->installEventFilter(this);
  // The window's handler is in place before the graph links the list and takes it over.
  ListView1->OnSelectItem = [this](QObject* sender, int item, bool selected) {
    ListView1SelectItem(sender, item, selected);
  };
  connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { ListView1DblClick(); });
  FControls.ListView1 = ListView1;

  auto* panelNotes = new QWidget(splitter2);
  panelNotes->setMinimumHeight(1);
  auto* notesLayout = new QHBoxLayout(panelNotes);
  notesLayout->setContentsMargins(0, 0, 0, 0);
  notesLayout->setSpacing(0);
  auto* notesLabel = new QLabel(QStringLiteral("Notes:"), panelNotes);
  notesLabel->setAlignment(Qt::AlignCenter);
  notesLabel->setFixedWidth(kNotesLabelWidth);
  auto* memoNotes = new QTextEdit(panelNotes);
  memoNotes->setReadOnly(true);
  memoNotes->setAcceptRichText(false);
  memoNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  notesLayout->addWidget(notesLabel);
  notesLayout->addWidget(memoNotes, 1);
  FControls.PanelNotes = panelNotes;
  FControls.PanelNotesLabel = notesLabel;
  FControls.MemoNotes = memoNotes;

  splitter2->addWidget(ListView1);
  splitter2->addWidget(panelNotes);
  splitter2->setStretchFactor(0, 1);
  splitter2->setStretchFactor(1, 0);
  splitter2->setSizes({kListPanelHeight - kNotesHeight - kListSplitterHandle, kNotesHeight});

  // The graph.
  auto* panelGraph = new QWidget(splitter1);
  panelGraph->setMinimumHeight(1);
  auto* graphLayout = new QVBoxLayout(panelGraph);
  graphLayout->setContentsMargins(kGraphBorder, kGraphBorder, kGraphBorder, kGraphBorder);
  Graph = new TWPGraph(panelGraph);
  Graph->setContextMenuPolicy(Qt::CustomContextMenu);
  graphLayout->addWidget(Graph);
  FControls.PanelGraph = panelGraph;
  FControls.Graph = Graph;

  splitter1->addWidget(panelListView);
  splitter1->addWidget(panelGraph);
  splitter1->setStretchFactor(0, 0);
  splitter1->setStretchFactor(1, 1);
  splitter1->setSizes({kListPanelHeight, kDesignHeight - kListPanelHeight});

  FControls.StatusBar1 = statusBar();
  FControls.StatusBar1->setMinimumHeight(kStatusBarHeight);
}

void TFormMain::ApplyGraphDesign() {
  Graph->OnRequestData = [this](QObject*) { GraphRequestData(); };
  Graph->SetForceScl(true);
  Graph->SetNegative(true);
  Graph->SetShowBanner(false);
  Graph->SetShowGraphBmp(false);
  Graph->SetAxisLabelFont(DesignedGraphFont(15));
  const TFont font = DesignedGraphFont(13);
  Graph->SetMainTitleFont(font);
  Graph->SetSubTitleFont(font);
  Graph->SetCursorFont(font);
  Graph->SetMultiLabelFont(font);
  Graph->SetBottomTitleFont(font);
  Graph->SetAxisBtnFont(font);
  Graph->SetColorBorder(clWhite);
  Graph->SetMainTitle(QStringLiteral("HALVORN RESEARCH"));
  Graph->SetBuffer(10);
  Graph->SetZoomMode(zmNone);
  Graph->SetVerticalDrag(false);
  Graph->SetMinZoomMult(2.0f);
  Graph->SetAxisButton(1);
  Graph->SetRadius(10);
  Graph->SetRegistryRoot(FRegistry->Root());
  Graph->SetListView(ListView1);
  Graph->Loaded();
}

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!FShown) {
    FShown = true;
    FirstShow();
  }
}

void TFormMain::FirstShow() {
  setAcceptDrops(true);
  LoadSettings();
  RebuildRecentMenu();
  ApplyLanguage();
  GraphRequestData();
  Graph->SetAxisBtnTags();
  SyncGraphActions();
  LoadCommandLine();
}

void TFormMain::CloseSettings() {
  // Settings that were never read would be overwritten with the designed defaults.
  if (!FSettingsRead) return;
  if (SaveOnExit) {
    SaveSettings();
    return;
  }
  TRegKeyScope key(*FRegistry, SettingsKey::Path);
  if (key) WriteSetting(*FRegistry, SettingsKey::SaveOnExit, false);
}

const TFont& TFormMain::WindowFont() const {
  const int offset = GetLanguageOffset();
  if (offset == kOffsetJapanese && JapaneseFont) return *JapaneseFont;
  if (offset == kOffsetChinese && ChineseFont) return *ChineseFont;
  return DefaultFont;
}

void TFormMain::ApplyWindowFont() {
  setFont(ToQFont(WindowFont()));
}

void TFormMain::ReInitGraph() {
  ++FReInitCount;
  Graph->ReInit();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1->viewport() && event->type() == QEvent::Resize) ListView1Resize();
  return QMainWindow::eventFilter(watched, event);
}

void TFormMain::ListView1Resize() {
  const QSize size = ListView1->viewport()->size();
  if (ListBackground.size() == size) return;
  const QPalette& palette = ListView1->palette();
  ListBackground = MakeListBackground(size, palette.color(QPalette::Active, QPalette::Base),
                                      palette.color(QPalette::Active, QPalette::Button));
  QPalette viewportPalette = ListView1->viewport()->palette();
  viewportPalette.setBrush(QPalette::Base, QBrush(ListBackground));
  ListView1->viewport()->setPalette(viewportPalette);
  ListView1->viewport()->update();
}
