#pragma once

// A main window on a configuration of its own: settings and units in a temporary folder,
// message boxes collected instead of shown, and copies of the bundled sample runs.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "MainForm.h"
#include "MessageBoxes.h"
#include "TestSupport.h"

class TAppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window on this test's configuration, shown when `show` is set (the first showing reads
  // the settings and loads `params`).
  std::unique_ptr<TFormMain> MakeForm(const QStringList& params = {}, bool show = true);

  // `count` run files copied from the samples, named run00.DRF, run01.DRF, ...
  QStringList RunFiles(int count);
  // A file of `bytes` in the temporary folder.
  QString WriteFile(const std::string& name, const std::string& bytes);

  const std::filesystem::path& Root() const { return FTemp.Path(); }
  QString RootText() const;

  // The messages shown so far.
  std::vector<TMessageBoxRequest> FMessages;

 private:
  tw_test::TTempDir FTemp;
  TMessageBoxObserver FOldObserver;
};

// Runs the event loop until `done` holds or `timeoutMs` passed; true when it holds.
template <class TDone>
bool SpinUntil(TDone done, int timeoutMs = 20000) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

// The text of a string id in the current language.
QString StrOf(int id);
