// The window's actions: smoothing and correction factor recompute only on a change, check
// marks follow the graph, and every caption and hint comes in the current language.

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QToolBar>

#include <functional>

#include "AboutBox.h"
#include "AppFixture.h"
#include "Language.h"
#include "RunListView.h"
#include "StringIds.h"
#include "WPGraph.h"

namespace {

using ActionsTest = TAppTest;

std::vector<int> CheckedSmoothing(const TFormMain& form) {
  std::vector<int> checked;
  for (size_t i = 0; i < form.Actions().Smoothing_.size(); ++i) {
    if (form.Actions().Smoothing_[i]->isChecked()) checked.push_back(static_cast<int>(i));
  }
  return checked;
}

TEST_F(ActionsTest, SmoothingRecomputesOnlyOnAChange) {
  const auto form = MakeForm();
  form->Actions().Smoothing_[1]->trigger();
  int reInits = form->ReInitCount();
  form->Controls().SmoothingTrackBar->setValue(4);  // the user moves the thumb
  EXPECT_EQ(form->Data().FSmoothing, 4);
  EXPECT_EQ(form->ReInitCount(), reInits + 1);
  EXPECT_EQ(form->Controls().SmoothingValueLabel->text(), QStringLiteral(" 4 "));
  EXPECT_EQ(CheckedSmoothing(*form), std::vector<int>{4});
  reInits = form->ReInitCount();
  form->Actions().Smoothing_[4]->trigger();
  EXPECT_EQ(form->ReInitCount(), reInits);

  // Opening the submenu brings its marks in line without touching the data.
  form->Data().FSmoothing = 3;
  form->Actions().SmoothingAction->trigger();
  EXPECT_EQ(CheckedSmoothing(*form), std::vector<int>{3});
  EXPECT_EQ(form->Controls().SmoothingTrackBar->value(), 3);
  EXPECT_EQ(form->ReInitCount(), reInits);
}

TEST_F(ActionsTest, CorrectionFactorFromComboOrMenusStaysInStep) {
  const auto form = MakeForm();
  const TMainControls& c = form->Controls();
  int reInits = form->ReInitCount();
  // The current factor again: nothing to recompute.
  c.CFCombo->setCurrentIndex(1);
  form->CorrectionFactorPicked(c.CFCombo);
  EXPECT_EQ(form->ReInitCount(), reInits);

  c.CorrectionItems2[4]->trigger();  // Tools menu
  EXPECT_EQ(form->Data().FCFIndex, 4);
  EXPECT_EQ(c.CFCombo->currentIndex(), 4);
  EXPECT_TRUE(c.CorrectionItems1[4]->isChecked());
  EXPECT_TRUE(c.CorrectionItems2[4]->isChecked());
  EXPECT_FALSE(c.CorrectionItems1[1]->isChecked());
  EXPECT_EQ(form->ReInitCount(), reInits + 1);
  EXPECT_EQ(form->Controls().Graph->GetGraphString(0), QString::fromStdString(CFString(4, 1)));

  c.CFCombo->setCurrentIndex(0);
  form->CorrectionFactorPicked(c.CFCombo);
  EXPECT_EQ(form->Data().FCFIndex, 0);
  EXPECT_TRUE(c.CorrectionItems1[0]->isChecked());
  EXPECT_FALSE(c.CorrectionItems2[4]->isChecked());
  // The factor items carry the short names; their hints the long ones.
  EXPECT_EQ(c.CorrectionItems1[1]->text(), QStringLiteral("SAE"));
  EXPECT_EQ(c.CorrectionItems1[1]->statusTip(), QString::fromStdString(CFString(1, 0)));
}

TEST_F(ActionsTest, ModeAndDisplayActionsFollowTheGraph) {
  const auto form = MakeForm();
  const TMainActions& a = form->Actions();
  TWPGraph& graph = *form->Controls().Graph;
  a.ZoomMode->trigger();
  EXPECT_EQ(graph.ZoomMode(), zmZoom);
  EXPECT_TRUE(a.ZoomMode->isChecked());
  EXPECT_FALSE(a.PointModeAction->isChecked());
  a.ZoomMode->trigger();  // again: stays checked
  EXPECT_TRUE(a.ZoomMode->isChecked());

  a.DisplayMaxValues->trigger();
  EXPECT_EQ(graph.LabelType(), 1);
  EXPECT_FALSE(a.DisplayConditions->isChecked());

  const bool force = graph.ForceScale();
  a.ForceScaling->trigger();
  EXPECT_EQ(graph.ForceScale(), !force);
  EXPECT_EQ(a.ForceScaling->isChecked(), !force);
  EXPECT_TRUE(graph.AutoScaling());

  a.NumGraphs2->trigger();
  EXPECT_EQ(graph.NumGraphs(), 2);
  EXPECT_FALSE(a.NumGraphs1->isChecked());

  // Cursor sizes: -10, -12, -14; another size leaves the marks alone.
  a.CrsrLarge->trigger();
  EXPECT_EQ(graph.CursorFont().Size(), -14);
  TFont font = graph.CursorFont();
  font.SetSize(-11);
  graph.SetCursorFont(font);
  a.FontSize->trigger();
  EXPECT_TRUE(a.CrsrLarge->isChecked());
  EXPECT_FALSE(a.CrsrSmall->isChecked());

  form->SetToolbarSize(20);
  EXPECT_EQ(form->GetToolbarSize(), 24);
  EXPECT_EQ(form->Controls().GraphToolBar->iconSize(), QSize(24, 24));
}

// Each target of the caption table with the text it must show in the current language.
struct TCaptionCase {
  const char* Target;
  std::function<QString(const TFormMain&)> Actual;
  std::function<QString()> Expected;
};

std::function<QString()> Id(int id) {
  return [id] { return StrOf(id); };
}

TEST_F(ActionsTest, ApplyLanguageSetsEveryCaptionInEachLanguage) {
  const auto form = MakeForm();
  const auto text = [](QAction* TMainActions::*action) {
    return [action](const TFormMain& f) { return (f.Actions().*action)->text(); };
  };
  const auto hint = [](QAction* TMainActions::*action) {
    return [action](const TFormMain& f) { return (f.Actions().*action)->statusTip(); };
  };
  const auto column = [](int c) {
    return [c](const TFormMain& f) { return f.Controls().ListView1->headerItem()->text(c); };
  };
  using A = TMainActions;
  const TCaptionCase cases[] = {
      {"main title", [](const TFormMain& f) { return f.Controls().Graph->MainTitle(); }, Id(688)},
      {"column 0", column(0), Id(689)},
      {"column 1", column(1), Id(157)},
      {"column 2", column(2), Id(158)},
      {"column 3", column(3), Id(159)},
      {"column 4", column(4), Id(690)},
      {"column 5", column(5), Id(873)},
      {"tool bar", [](const TFormMain& f) { return f.Controls().GraphToolBar->windowTitle(); },
       Id(706)},
      {"CF combo hint", [](const TFormMain& f) { return f.Controls().CFCombo->statusTip(); },
       Id(708)},
      {"CF label", [](const TFormMain& f) { return f.Controls().CFLabel->text(); },
       [] { return QStringLiteral("  ") + StrOf(707) + QStringLiteral(":   "); }},
      {"smoothing label", [](const TFormMain& f) { return f.Controls().SmoothingLabel->text(); },
       [] { return QStringLiteral("  ") + StrOf(709) + QStringLiteral(" "); }},
      {"track bar hint",
       [](const TFormMain& f) { return f.Controls().SmoothingTrackBar->statusTip(); }, Id(710)},
      {"Exit", text(&A::Exit), Id(718)},
      {"MouseModeAction", text(&A::MouseModeAction), Id(835)},
      {"MouseModeAction hint", hint(&A::MouseModeAction), Id(834)},
      {"PointModeAction", text(&A::PointModeAction), Id(837)},
      {"PointModeAction hint", hint(&A::PointModeAction), Id(836)},
      {"ZoomMode", text(&A::ZoomMode), Id(731)},
      {"ZoomMode hint", hint(&A::ZoomMode), Id(348)},
      {"PanMode", text(&A::PanMode), Id(732)},
      {"PanMode hint", hint(&A::PanMode), Id(349)},
      {"Rescale", text(&A::Rescale), Id(733)},
      {"Rescale hint", hint(&A::Rescale), Id(734)},
      {"Cursor", text(&A::Cursor), Id(736)},
      {"Cursor hint", hint(&A::Cursor), Id(737)},
      {"ForceScaling", text(&A::ForceScaling), Id(738)},
      {"ForceScaling hint", hint(&A::ForceScaling), Id(363)},
      {"Negative", text(&A::Negative), Id(751)},
      {"Unzoom", text(&A::Unzoom), Id(753)},
      {"Unzoom hint", hint(&A::Unzoom), Id(753)},
      {"Rezoom", text(&A::Rezoom), Id(754)},
      {"Rezoom hint", hint(&A::Rezoom), Id(754)},
      {"DisplayMaxValues", text(&A::DisplayMaxValues), Id(755)},
      {"DisplayConditions", text(&A::DisplayConditions), Id(605)},
      {"DisplayCrsrTitles", text(&A::DisplayCrsrTitles), Id(756)},
      {"DisplayTitles", text(&A::DisplayTitles), Id(756)},
      {"DisplayNothing", text(&A::DisplayNothing), Id(757)},
      {"DisplayCrsrTypes", text(&A::DisplayCrsrTypes), Id(764)},
      {"OpenFile", text(&A::OpenFile), Id(758)},
      {"OpenFile hint", hint(&A::OpenFile), Id(759)},
      {"Print", text(&A::Print), Id(760)},
      {"Print hint", hint(&A::Print), Id(652)},
      {"PrinterSetup", text(&A::PrinterSetup), Id(761)},
      {"PrinterSetup hint", hint(&A::PrinterSetup), Id(761)},
      {"CrsrSmall", text(&A::CrsrSmall), Id(765)},
      {"CrsrMedium", text(&A::CrsrMedium), Id(766)},
      {"CrsrLarge", text(&A::CrsrLarge), Id(767)},
      {"NumGraphs1 hint", hint(&A::NumGraphs1), Id(771)},
      {"NumGraphs2 hint", hint(&A::NumGraphs2), Id(773)},
      {"NumGraphs3 hint", hint(&A::NumGraphs3), Id(774)},
      {"CrsrOptions", text(&A::CrsrOptions), Id(777)},
      {"RemoveAllRuns", text(&A::RemoveAllRuns), Id(779)},
      {"RemoveAllRuns hint", hint(&A::RemoveAllRuns), Id(779)},
      {"RemoveSelectedRuns", text(&A::RemoveSelectedRuns), Id(781)},
      {"FontSize", text(&A::FontSize), Id(782)},
      {"CorrectionFactor", text(&A::CorrectionFactor), Id(707)},
      {"SmoothingAction", text(&A::SmoothingAction), Id(784)},
      {"GraphOptionsMenu", text(&A::GraphOptionsMenu), Id(798)},
      {"EnvironmentOptions", text(&A::EnvironmentOptions), Id(800)},
      {"EnvironmentOptions hint", hint(&A::EnvironmentOptions), Id(841)},
      {"HelpMenuAction", text(&A::HelpMenuAction), Id(801)},
      {"ToolsMenuAction", text(&A::ToolsMenuAction), Id(792)},
      {"FileAction", text(&A::FileAction), Id(810)},
      {"notes label", [](const TFormMain& f) { return f.Controls().PanelNotesLabel->text(); },
       [] { return StrOf(1403) + QStringLiteral(":"); }},
      {"caption", [](const TFormMain& f) { return f.windowTitle(); }, &ApplicationTitle},
      {"About", text(&A::About), [] { return StrOf(730) + QStringLiteral(" Halvorn Tracewell"); }},
      {"Smoothing_3", [](const TFormMain& f) { return f.Actions().Smoothing_[3]->text(); },
       [] { return QStringLiteral("3"); }},
  };
  // English, Italian, German, Dutch, French, Spanish.
  for (const int langid : {1033, 1040, 1031, 1043, 1036, 1034}) {
    SetLanguage(langid);
    form->ApplyLanguage();
    for (const TCaptionCase& c : cases)
      EXPECT_EQ(c.Actual(*form), c.Expected()) << c.Target << " in language " << langid;
  }
  // The menus show their actions' captions.
  EXPECT_EQ(form->menuBar()->actions().front()->text(), StrOf(810));
}

TEST(AboutBoxTest, VersionTextIsCutTo31Characters) {
  EXPECT_EQ(FileVersionText("7.0.1.0"), QStringLiteral("7.0.1.0"));
  const std::string longVersion(40, '9');
  EXPECT_EQ(FileVersionText(longVersion), QString(31, QLatin1Char('9')));
  EXPECT_EQ(ApplicationTitle(), QStringLiteral("Halvorn Tracewell ") + FileVersionText());
}

}  // namespace
