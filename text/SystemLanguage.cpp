// The user's default language on a POSIX system, expressed as the Windows language identifier
// (LANGID) that the language offsets are keyed by.

#include <cctype>
#include <cstdlib>
#include <string>

#include "Language.h"

namespace {

struct TLocaleLangId {
  std::string_view FLanguage;   // ISO 639 code, lower case
  std::string_view FTerritory;  // ISO 3166 code, upper case; empty for the language's main LANGID
  int FLangId;
};

// The LANGIDs of the language-offset table, keyed by locale, plus the common English ones.
constexpr TLocaleLangId kLocaleLangIds[] = {
    {"en", "", 1033},    {"en", "US", 1033},  {"en", "GB", 2057},  {"en", "AU", 3081},
    {"en", "CA", 4105},  {"en", "NZ", 5129},  {"en", "IE", 6153},  {"ja", "", 1041},
    {"ja", "JP", 1041},  {"it", "", 1040},    {"it", "IT", 1040},  {"it", "CH", 2064},
    {"de", "", 1031},    {"de", "DE", 1031},  {"de", "CH", 2055},  {"de", "AT", 3079},
    {"de", "LU", 4103},  {"de", "LI", 5127},  {"nl", "", 1043},    {"nl", "NL", 1043},
    {"nl", "BE", 2067},  {"fr", "", 1036},    {"fr", "FR", 1036},  {"fr", "BE", 2060},
    {"fr", "CA", 3084},  {"fr", "CH", 4108},  {"fr", "LU", 5132},  {"es", "", 1034},
    {"es", "ES", 3082},  {"es", "MX", 2058},  {"es", "GT", 4106},  {"es", "CR", 5130},
    {"es", "PA", 6154},  {"es", "DO", 7178},  {"es", "VE", 8202},  {"es", "CO", 9226},
    {"es", "PE", 10250}, {"es", "AR", 11274}, {"es", "EC", 12298}, {"es", "CL", 13322},
    {"es", "UY", 14346}, {"es", "PY", 15370}, {"es", "BO", 16394}, {"es", "SV", 17418},
    {"es", "HN", 18442}, {"es", "NI", 19466}, {"es", "PR", 20490}, {"zh", "", 2052},
    {"zh", "CN", 2052},  {"zh", "TW", 1028},  {"zh", "HK", 3076},  {"zh", "SG", 4100},
    {"zh", "MO", 5124},
};

std::string Ascii(std::string_view s, bool upper) {
  std::string out;
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    out += static_cast<char>(upper ? std::toupper(u) : std::tolower(u));
  }
  return out;
}

}  // namespace

int LangIdFromLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier]; a few systems write language-territory.
  const auto end = locale.find_first_of(".@");
  const std::string_view name = locale.substr(0, end);
  const auto sep = name.find_first_of("_-");
  const std::string language = Ascii(name.substr(0, sep), false);
  const std::string territory =
      sep == std::string_view::npos ? std::string() : Ascii(name.substr(sep + 1), true);

  int mainLangId = kLangIdEnglish;
  for (const auto& entry : kLocaleLangIds) {
    if (entry.FLanguage != language) continue;
    if (entry.FTerritory.empty()) mainLangId = entry.FLangId;
    if (!territory.empty() && entry.FTerritory == territory) return entry.FLangId;
  }
  return mainLangId;  // "C", "POSIX" and unknown languages find nothing and read English
}

int SystemLangId() {
  if (const char* language = std::getenv("LANGUAGE"); language && *language) {
    const std::string_view list(language);
    const std::string_view first = list.substr(0, list.find(':'));
    if (!first.empty()) return LangIdFromLocale(first);
  }
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* value = std::getenv(name); value && *value) return LangIdFromLocale(value);
  }
  return kLangIdEnglish;
}
