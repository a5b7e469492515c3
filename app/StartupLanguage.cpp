#include "StartupLanguage.h"

#include <QFontDatabase>

#include "Font.h"
#include "Language.h"
#include "StringIds.h"

namespace {

QString FirstFamilyFor(std::initializer_list<QFontDatabase::WritingSystem> systems) {
  for (const QFontDatabase::WritingSystem system : systems) {
    const QStringList families = QFontDatabase::families(system);
    for (const QString& family : families) {
      if (!QFontDatabase::isPrivateFamily(family)) return family;
    }
  }
  return {};
}

}  // namespace

QString FindJapaneseFace() {
  const QString windowsFace = QStringLiteral("MS Gothic");
  if (FontAvailable(windowsFace)) return MapFontFace(windowsFace);
  return FirstFamilyFor({QFontDatabase::Japanese});
}

QString FindChineseFace() {
  const QString windowsFace = QStringLiteral("MingLiU");
  if (FontAvailable(windowsFace)) return MapFontFace(windowsFace);
  return FirstFamilyFor({QFontDatabase::TraditionalChinese, QFontDatabase::SimplifiedChinese});
}

TStartupLanguage SetStartupLanguage(std::int32_t stored, bool hasJapaneseFace,
                                    bool hasChineseFace) {
  TStartupLanguage result;
  result.Language = stored;
  result.Offset = stored == kLangIdSystemDefault ? SetLanguageFromSystem() : SetLanguage(stored);
  int missing = 0;
  if (result.Offset == kOffsetJapanese && !hasJapaneseFace) missing = kStrNoJapaneseFont;
  if (result.Offset == kOffsetChinese && !hasChineseFace) missing = kStrNoChineseFont;
  if (missing != 0) {
    result.Offset = SetLanguage(kLangIdEnglish);
    result.Language = kLangIdEnglish;
    result.MessageId = missing;
  }
  return result;
}
