#include "AppFixture.h"

#include <QFile>

#include <fstream>

#include "Language.h"

void TAppTest::SetUp() {
  SetLanguage(kLangIdEnglish);
  FOldObserver = SetMessageBoxObserver(
      [this](const TMessageBoxRequest& request) { FMessages.push_back(request); });
}

void TAppTest::TearDown() {
  SetMessageBoxObserver(FOldObserver);
  SetLanguage(kLangIdEnglish);
}

std::unique_ptr<TFormMain> TAppTest::MakeForm(const QStringList& params, bool show) {
  auto form = std::make_unique<TFormMain>(Root(), params);
  if (show) {
    form->show();
    QCoreApplication::processEvents();
  }
  return form;
}

QStringList TAppTest::RunFiles(int count) {
  static const char* const kSamples[] = {"mh703_pull.DRF", "mh100_pull.DRF", "m301_pull.DRF",
                                         "mh703_two_gears.DRF", "mh703_two_rollers.DRF"};
  QStringList names;
  for (int i = 0; i < count; ++i) {
    const std::filesystem::path source =
        tw_test::SourceDir() / "samples" / kSamples[i % std::size(kSamples)];
    char name[32];
    std::snprintf(name, sizeof name, "run%02d.DRF", i);
    const std::filesystem::path target = Root() / name;
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
    names.append(QFile::decodeName(QByteArray::fromStdString(target.string())));
  }
  return names;
}

QString TAppTest::WriteFile(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path = Root() / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

QString TAppTest::RootText() const {
  return QFile::decodeName(QByteArray::fromStdString(Root().string()));
}

QString StrOf(int id) {
  return QString::fromStdString(LangStr(id));
}
