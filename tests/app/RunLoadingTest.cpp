// Runs entering the window: LoadRun and its limit, drops, the command line, the Open command,
// the hand-off from a later start; and leaving it: remove all and remove selected.

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTextEdit>

#include "AppFixture.h"
#include "Registry.h"
#include "RunListView.h"
#include "RunTexts.h"
#include "SingleInstance.h"
#include "StringIds.h"
#include "WPGraph.h"

namespace {

class RunLoadingTest : public TAppTest {
 protected:
  static QStringList Captions(const TFormMain& form) {
    QStringList captions;
    const TRunListView& list = *form.Controls().ListView1;
    for (int row = 0; row < list.Count(); ++row)
      captions.append(list.Caption(row));
    return captions;
  }
  static QString NameOf(const QString& path) { return QFileInfo(path).fileName(); }
};

TEST_F(RunLoadingTest, LoadRunFillsRowsAndRecentListsUpToTwelve) {
  const QStringList files = RunFiles(13);
  const auto form = MakeForm();
  for (const QString& file : files)
    form->LoadRun(file);
  EXPECT_EQ(form->Data().NumRuns(), 12u);
  ASSERT_EQ(form->Controls().ListView1->Count(), 12);
  // At the limit the thirteenth loads nothing and says nothing.
  EXPECT_TRUE(FMessages.empty());
  const TRunListView& list = *form->Controls().ListView1;
  for (int row = 0; row < 12; ++row) {
    const TRunData& run = *form->Data().Run(static_cast<uint32_t>(row));
    EXPECT_EQ(list.Caption(row), NameOf(files[row]));
    EXPECT_EQ(list.SubItem(row, 3), files[row]);
    EXPECT_EQ(list.SubItem(row, 4), GearRatioText(run));
    EXPECT_EQ(run.FCleanRPM, 0);
  }
  EXPECT_EQ(form->RecentFileList(), files.mid(2, 10));
  EXPECT_EQ(form->RecentDirList(), QStringList{RootText()});
}

TEST_F(RunLoadingTest, FailedLoadIsReportedWithItsStatus) {
  const QString broken = WriteFile("broken.DRF", "MH703\r\nno more");
  const auto form = MakeForm();
  form->LoadRun(broken);
  EXPECT_EQ(form->Data().NumRuns(), 0u);
  ASSERT_EQ(FMessages.size(), 1u);
  EXPECT_TRUE(FMessages[0].Text.startsWith(StrOf(kStrErrorLoading) + QStringLiteral(": ")));
  EXPECT_EQ(FMessages[0].Caption, QStringLiteral("Error"));
  EXPECT_EQ(FMessages[0].Icon, TMessageIcon::miWarning);
  EXPECT_TRUE(form->RecentFileList().isEmpty());
}

TEST_F(RunLoadingTest, DropStopsAtTheLimitWithOneMessageAndNoRedraw) {
  const QStringList files = RunFiles(15);
  const auto form = MakeForm();
  for (int i = 0; i < 10; ++i)
    form->LoadRun(files[i]);
  const int reInits = form->ReInitCount();
  form->DropFiles(files.mid(10, 5));
  EXPECT_EQ(form->Data().NumRuns(), 12u);
  EXPECT_EQ(form->Controls().ListView1->Count(), 12);
  ASSERT_EQ(FMessages.size(), 1u);
  EXPECT_EQ(FMessages[0].Text, StrOf(kStrTooManyRuns));
  EXPECT_EQ(FMessages[0].Icon, TMessageIcon::miError);
  EXPECT_EQ(form->ReInitCount(), reInits);

  // A drop on a full window is refused at once.
  form->DropFiles(files.mid(14, 1));
  EXPECT_EQ(FMessages.size(), 2u);
}

TEST_F(RunLoadingTest, DropOfFoldersAndOtherFilesLoadsNothingSilently) {
  const QString text = WriteFile("notes.txt", "just text\r\n");
  const auto form = MakeForm();
  const int reInits = form->ReInitCount();
  form->DropFiles({RootText(), text, RootText() + QStringLiteral("/missing.DRF")});
  EXPECT_EQ(form->Data().NumRuns(), 0u);
  EXPECT_TRUE(FMessages.empty());
  EXPECT_EQ(form->ReInitCount(), reInits + 1);
}

TEST_F(RunLoadingTest, CommandLineLoadsRunFilesInOrderAndSkipsTheRest) {
  const QStringList files = RunFiles(2);
  const QString text = WriteFile("notes.txt", "just text\r\n");
  // A name with ".." comes out as the clean absolute path.
  const QString roundabout = RootText() + QStringLiteral("/../") +
                             QFileInfo(RootText()).fileName() + QStringLiteral("/run01.DRF");
  const auto form = MakeForm({files[0], text, QStringLiteral("/nowhere/x.DRF"), roundabout});
  EXPECT_EQ(Captions(*form),
            (QStringList{QStringLiteral("run00.DRF"), QStringLiteral("run01.DRF")}));
  EXPECT_EQ(form->Controls().ListView1->SubItem(1, 3), files[1]);
  EXPECT_TRUE(FMessages.empty());
}

TEST_F(RunLoadingTest, OpenLoadsChosenFilesInReverseAndRemembersTheFolder) {
  const QStringList files = RunFiles(3);
  const auto form = MakeForm();
  QString offered = QStringLiteral("unset");
  form->SetFileChooser([&](const QString& folder) -> std::optional<QStringList> {
    offered = folder;
    return files;
  });
  form->OpenFileExecute();
  EXPECT_EQ(offered, QString());
  EXPECT_EQ(Captions(*form), (QStringList{NameOf(files[2]), NameOf(files[1]), NameOf(files[0])}));

  const auto storedPath = [this] {
    TRegistry registry(Root());
    registry.OpenKey("\\Software\\Halvorn Research Inc.\\Tracewell", false);
    return registry.ReadString("FileOpenPath").ValueOr("missing");
  };
  EXPECT_EQ(storedPath(), RootText().toStdString() + "/");
  form->OpenFileExecute();
  EXPECT_EQ(offered, RootText() + QStringLiteral("/"));

  form->SetFileChooser([](const QString&) { return std::optional<QStringList>(); });
  form->OpenFileExecute();
  EXPECT_EQ(storedPath(), "");
}

TEST_F(RunLoadingTest, RecentFileEntryLoadsAgainAndRedraws) {
  const QStringList files = RunFiles(1);
  const auto form = MakeForm();
  form->LoadRun(files[0]);
  const int reInits = form->ReInitCount();
  form->RecentFileClick(0);
  form->RecentFileClick(5);  // no such entry
  form->RecentFileClick(-1);
  EXPECT_EQ(form->Data().NumRuns(), 2u);
  EXPECT_EQ(form->ReInitCount(), reInits + 1);
}

TEST_F(RunLoadingTest, LaterStartHandsItsFilesToTheWindowInOrder) {
  const QStringList files = RunFiles(3);
  const auto form = MakeForm();
  TInstanceOptions options;
  options.Folder = RootText();
  TSingleInstance instance(options);
  ASSERT_EQ(instance.Start({}).Role, TInstanceRole::irFirst);
  instance.SetHandlers([&form](const QString& name) { form->HandOffReceived(name); },
                       [&form] { form->BringToFront(); });

  QProcess later;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TRACEWELL_CONFIG_DIR"), RootText());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  later.setProcessEnvironment(environment);
  later.start(QStringLiteral(TW_TRACEWELL_BINARY), {files[2], files[0], files[1]});
  ASSERT_TRUE(SpinUntil([&later] { return later.state() == QProcess::NotRunning; }, 60000));
  EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(later.exitCode(), 0);
  EXPECT_EQ(Captions(*form), (QStringList{NameOf(files[2]), NameOf(files[0]), NameOf(files[1])}));
  EXPECT_TRUE(FMessages.empty());
}

// Selects `rows`, gives the list the focus and removes the selection.
struct TRemoveCase {
  std::vector<int> Selected;
  bool Focus;
  std::vector<int> Left;  // original indices of the rows left
  int SelectedAfter;      // -1: as before
};

TEST_F(RunLoadingTest, RemoveSelectedKeepsOrderAndSelectsTheNextRow) {
  const QStringList files = RunFiles(5);
  const TRemoveCase cases[] = {
      {{1, 3}, true, {0, 2, 4}, 1},
      {{3, 4}, true, {0, 1, 2}, 2},
      {{1, 3}, false, {0, 1, 2, 3, 4}, -1},
  };
  for (const TRemoveCase& c : cases) {
    const auto form = MakeForm();
    for (const QString& file : files)
      form->LoadRun(file);
    TRunListView& list = *form->Controls().ListView1;
    for (int row : c.Selected)
      list.topLevelItem(row)->setSelected(true);
    if (c.Focus) {
      form->activateWindow();
      list.setFocus();
      ASSERT_TRUE(SpinUntil([&list] { return list.hasFocus(); }, 5000));
    } else {
      form->Controls().MemoNotes->setFocus();
    }
    form->RemoveSelectedRunsExecute();

    QStringList expected;
    for (int i : c.Left)
      expected.append(NameOf(files[i]));
    EXPECT_EQ(Captions(*form), expected);
    EXPECT_EQ(form->Data().NumRuns(), static_cast<uint32_t>(c.Left.size()));
    if (c.SelectedAfter >= 0) {
      ASSERT_EQ(list.selectedItems().size(), 1);
      EXPECT_EQ(list.indexOfTopLevelItem(list.selectedItems().front()), c.SelectedAfter);
      EXPECT_EQ(form->Controls().MemoNotes->toPlainText(),
                NotesPaneText(*form->Data().Run(static_cast<uint32_t>(c.SelectedAfter))));
    }
  }
}

TEST_F(RunLoadingTest, RemoveAllEmptiesListAndData) {
  const auto form = MakeForm();
  for (const QString& file : RunFiles(4))
    form->LoadRun(file);
  form->RemoveAllRunsExecute();
  EXPECT_EQ(form->Data().NumRuns(), 0u);
  EXPECT_EQ(form->Controls().ListView1->Count(), 0);
  form->RemoveAllRunsExecute();  // nothing left: harmless
  EXPECT_TRUE(FMessages.empty());
}

TEST_F(RunLoadingTest, NotesShowOnlyForASingleSelection) {
  const auto form = MakeForm();
  for (const QString& file : RunFiles(2))
    form->LoadRun(file);
  TRunListView& list = *form->Controls().ListView1;
  QTextEdit& notes = *form->Controls().MemoNotes;
  list.topLevelItem(1)->setSelected(true);
  const QString text = notes.toPlainText();
  EXPECT_EQ(text, NotesPaneText(*form->Data().Run(1)));
  EXPECT_TRUE(text.startsWith(QStringLiteral("run01.DRF Notes:\n")));
  list.topLevelItem(0)->setSelected(true);
  EXPECT_TRUE(notes.toPlainText().isEmpty());
}

}  // namespace
