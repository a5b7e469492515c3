#include "Language.h"

#include <atomic>
#include <cstdint>
#include <optional>

#include "StringIds.h"
#include "StringTable.h"

namespace {

// The one process-wide language setting. Atomic only so that a stray lookup from another thread
// can never tear it; the program sets it from its one GUI thread.
std::atomic<int> gLanguageOffset{0};

// English ids lie below the first language offset; only those are translated. Looking up
// id + offset for a larger id would land in another language's block.
constexpr int64_t kEnglishIdLimit = kOffsetJapanese;

std::optional<std::string_view> Translated(int64_t id) {
  if (id >= 0 && id < kEnglishIdLimit) {
    if (auto text = FindString(id + gLanguageOffset.load())) return text;
  }
  return FindString(id);
}

// Each family owns a block of ids (two per member) that must not run into the next family's,
// so a member number or k out of range gets the family's fallback, not a neighbour's text.
std::string FamilyString(int64_t base, int64_t members, int x, int k, const char* fallback) {
  if (x < 0 || x >= members || k < 0 || k > 1) return fallback;
  if (auto text = Translated(base + 2 * int64_t{x} + k)) return std::string(*text);
  return fallback;
}

}  // namespace

std::string LangStr(int id) {
  if (auto text = Translated(id)) return std::string(*text);
  return std::to_string(id);
}

int GetLanguageOffset() {
  return gLanguageOffset.load();
}

int LangIdToOffset(int langid) {
  switch (langid) {
    case 1041:
      return kOffsetJapanese;
    case 1040:
    case 2064:
      return kOffsetItalian;
    case 1031:
    case 2055:
    case 3079:
    case 4103:
    case 5127:
      return kOffsetGerman;
    case 1043:
    case 2067:
      return kOffsetDutch;
    case 1036:
    case 2060:
    case 3084:
    case 4108:
    case 5132:
      return kOffsetFrench;
    case 1028:
    case 2052:
    case 3076:
    case 4100:
    case 5124:
      return kOffsetChinese;
    default:
      break;
  }
  // Spanish: primary language 0x0A with the sublanguages 1..20 (1034, 2058, ..., 20490).
  if (langid >= 1034 && langid <= 20490 && (langid - 1034) % 1024 == 0) return kOffsetSpanish;
  return kOffsetEnglish;
}

int SetLanguage(int langid) {
  if (langid == kLangIdSystemDefault) return SetLanguageFromSystem();
  const int offset = LangIdToOffset(langid);
  gLanguageOffset.store(offset);
  return offset;
}

int SetLanguageFromSystem() {
  return SetLanguage(SystemLangId());
}

std::string CFString(int c, int k) {
  return FamilyString(kStrCFBase, 25, c, k, "CF String Not Found");
}

std::string UnitString(int u, int k) {
  return FamilyString(kStrUnitBase, 100, u, k, "Unit String Not Found");
}

std::string ChannelString(int t, int k) {
  return FamilyString(kStrChannelBase, 100, t, k, "Channel String Not Found");
}
