// Program entry: one running copy per user. A later start hands its run files to the running
// window and ends; the first builds the window and runs until it is closed.
//
// TRACEWELL_CONFIG_DIR, when set, replaces the user's config folder for the settings and the
// units file, and keeps the single-instance lock there too, so a separate configuration is a
// separate copy of the program (tests, trials, portable use).

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <exception>
#include <filesystem>

#include "AboutBox.h"
#include "Language.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "Registry.h"
#include "RegistryTable.h"
#include "SettingsKeys.h"
#include "SingleInstance.h"
#include "StringIds.h"
#include "ToolbarIcons.h"

namespace {

// An exception that escapes an event handler is reported, and the program goes on.
class TApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      Report(QString::fromLocal8Bit(error.what()));
    } catch (...) {
      Report(QStringLiteral("Unknown error"));
    }
    return false;
  }

 private:
  static void Report(const QString& text) {
    std::fprintf(stderr, "tracewell: %s\n", qPrintable(text));
    ShowMessageBox(activeWindow(), text, QStringLiteral("Error"), TMessageIcon::miError);
  }
};

std::filesystem::path ConfigRoot() {
  const QByteArray folder = qgetenv("TRACEWELL_CONFIG_DIR");
  return folder.isEmpty() ? TRegistry::DefaultRoot() : std::filesystem::path(folder.toStdString());
}

// The stored language, for the messages of a start that builds no window.
void SetStoredLanguage(const std::filesystem::path& root) {
  TRegistry registry(root);
  int32_t language = kLangIdSystemDefault;
  if (registry.OpenKey(SettingsKey::Path, false)) {
    language = ReadSettingOr(registry, SettingsKey::Language);
    registry.CloseKey();
  }
  SetLanguage(language);
}

// A later start that could not reach the running window says so and names the files, rather
// than dropping them without a word.
void ReportFailedHandOff(const TInstanceStart& start, const std::filesystem::path& root) {
  SetStoredLanguage(root);
  QString text = QString::fromStdString(LangStr(kStrHandOffFailed));
  if (!start.Pending.isEmpty()) {
    text += QStringLiteral("\n") + QString::fromStdString(LangStr(kStrFilesNotOpened)) +
            QStringLiteral("\n\n") + start.Pending.join(QLatin1Char('\n'));
  }
  std::fprintf(stderr, "tracewell: %s\n%s\n", qPrintable(start.Error), qPrintable(text));
  ShowMessageBox(nullptr, text, ApplicationTitle(), TMessageIcon::miWarning);
}

}  // namespace

int main(int argc, char* argv[]) {
  TApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Halvorn Research Inc."));
  QApplication::setApplicationName(QStringLiteral("Tracewell"));
  QApplication::setApplicationVersion(FileVersionText());
  QApplication::setWindowIcon(ToolbarIcon(tiTwoGraphs, 24));

  const std::filesystem::path root = ConfigRoot();
  TInstanceOptions options;
  if (qEnvironmentVariableIsSet("TRACEWELL_CONFIG_DIR"))
    options.Folder = QFile::decodeName(QByteArray::fromStdString(root.string()));
  TSingleInstance instance(options);
  const TInstanceStart start = instance.Start(QApplication::arguments().mid(1));
  switch (start.Role) {
    case TInstanceRole::irHandedOver:
      return 0;
    case TInstanceRole::irFailed:
      ReportFailedHandOff(start, root);
      return 0;
    case TInstanceRole::irFirst:
      if (!start.Error.isEmpty()) std::fprintf(stderr, "tracewell: %s\n", qPrintable(start.Error));
      break;
  }

  TFormMain form(root, start.Pending);
  instance.SetHandlers([&form](const QString& fileName) { form.HandOffReceived(fileName); },
                       [&form] { form.BringToFront(); });
  form.show();
  QApplication::exec();
  return 0;
}
