#include "Language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "StringIds.h"

namespace {

// Every test starts and ends in English, whatever it switched to.
class Language : public ::testing::Test {
 protected:
  void SetUp() override { SetLanguage(kLangIdEnglish); }
  void TearDown() override { SetLanguage(kLangIdEnglish); }
};

TEST_F(Language, OffsetTable) {
  const struct {
    int langid;
    int offset;
  } cases[] = {
      {1041, 2500},
      {1040, 5000},
      {2064, 5000},
      {1031, 7500},
      {2055, 7500},
      {3079, 7500},
      {4103, 7500},
      {5127, 7500},
      {1043, 10000},
      {2067, 10000},
      {1036, 12500},
      {2060, 12500},
      {3084, 12500},
      {4108, 12500},
      {5132, 12500},
      {1034, 15000},
      {2058, 15000},
      {3082, 15000},
      {20490, 15000},
      {1028, 17500},
      {2052, 17500},
      {3076, 17500},
      {4100, 17500},
      {5124, 17500},
      // Neighbours that must not match: Monaco French, the LANGID after the last Spanish one,
      // a Spanish-looking value that is not a Spanish sublanguage, English, nonsense.
      {6156, 0},
      {21514, 0},
      {1035, 0},
      {1033, 0},
      {2057, 0},
      {0, 0},
      {-1, 0},
      {-1024, 0},
      {1 << 30, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LangIdToOffset(c.langid), c.offset) << c.langid;
}

TEST_F(Language, SetLanguageSetsTheOffset) {
  EXPECT_EQ(GetLanguageOffset(), 0);
  EXPECT_EQ(SetLanguage(4108), 12500);
  EXPECT_EQ(GetLanguageOffset(), 12500);
  EXPECT_EQ(SetLanguage(6156), 0);
  EXPECT_EQ(GetLanguageOffset(), 0);
}

TEST_F(Language, LookupAndFallbacks) {
  SetLanguage(1041);  // Japanese: an offset without texts reads English
  EXPECT_EQ(LangStr(858), "Error Calculating Data\r\nCalculateData Returned With Error: ");
  SetLanguage(2052);  // Chinese likewise
  EXPECT_EQ(LangStr(818), "Error Loading Data\r\nLoadFileData Returned With Error");

  SetLanguage(1040);
  EXPECT_EQ(CFString(0, 1), "NON CORRETTO");
  EXPECT_EQ(UnitString(9, 0), "Potenza");
  EXPECT_EQ(LangStr(2051), "NON CORRETTO");
  EXPECT_EQ(LangStr(999), "999");  // no text in any language
  EXPECT_EQ(LangStr(-5), "-5");
  // A translated id is read as it stands, never shifted into another language's block.
  EXPECT_EQ(LangStr(7118), "Potenza");
  EXPECT_EQ(LangStr(12051), "ONGECORRIGEERD");

  SetLanguage(1043);
  EXPECT_EQ(CFString(0, 1), "ONGECORRIGEERD");
  SetLanguage(3082);
  EXPECT_EQ(CFString(0, 1), "SIN CORREGIR");
}

TEST_F(Language, FamiliesAndTheirFallbacks) {
  EXPECT_EQ(CFString(1, 0), "Society of Automotive Engineers");
  EXPECT_EQ(CFString(5, 1), "JIS");
  EXPECT_EQ(UnitString(11, 1), "°F");
  EXPECT_EQ(UnitString(28, 1), "°K");
  EXPECT_EQ(UnitString(13, 1), "hrs");
  EXPECT_EQ(ChannelString(4, 1), "Air/Fuel Ratio");
  EXPECT_EQ(ChannelString(21, 0), "Torque");

  const struct {
    std::string text;
    const char* fallback;
  } cases[] = {
      {UnitString(32, 0), "Unit String Not Found"},  // id 2164, absent
      {UnitString(-1, 0), "Unit String Not Found"},
      {UnitString(0, 2), "Unit String Not Found"},  // k is 0 or 1, never the next member
      {CFString(6, 0), "CF String Not Found"},
      {CFString(30, 0), "CF String Not Found"},  // would be a unit text (2110) if not bounded
      {CFString(0, -1), "CF String Not Found"},
      {ChannelString(6, 0), "Channel String Not Found"},  // a type runs do not have
      {ChannelString(200, 1), "Channel String Not Found"},
      {ChannelString(-1, 1), "Channel String Not Found"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.text, c.fallback);

  // A translation missing for a member falls back to its English text, not to the fallback.
  SetLanguage(1031);
  EXPECT_EQ(ChannelString(13, 0), "Leistung");
  EXPECT_EQ(UnitString(32, 1), "Unit String Not Found");
}

TEST(SystemLanguage, LocaleNames) {
  const struct {
    const char* locale;
    int langid;
  } cases[] = {
      {"fr_CH.UTF-8", 4108}, {"it_IT", 1040},  {"de_AT", 3079},      {"es_MX", 2058},
      {"ja_JP", 1041},       {"zh_CN", 2052},  {"zh_TW.Big5", 1028}, {"nl_BE.UTF-8", 2067},
      {"de_DE@euro", 1031},  {"es_ES", 3082},  {"fr", 1036},         {"de-CH", 2055},
      {"en_GB.UTF-8", 2057}, {"fr_SN", 1036},  // a territory the table lacks: the language's
      {"fr_MC.UTF-8", 1036},                   // main LANGID, so the user still reads French
      {"C", 1033},           {"POSIX", 1033},  {"C.UTF-8", 1033},    {"", 1033},
      {"pt_BR", 1033},       {"%%%_@@", 1033}, {"_", 1033},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LangIdFromLocale(c.locale), c.langid) << c.locale;
}

// Sets the locale variables for one test and puts the old values back afterwards.
class SystemLocale : public ::testing::Test {
 protected:
  static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  void SetUp() override {
    for (int i = 0; i < 4; ++i) {
      const char* v = std::getenv(kNames[i]);
      FSaved[i] = v ? std::optional<std::string>(v) : std::nullopt;
    }
  }
  void TearDown() override {
    for (int i = 0; i < 4; ++i)
      Set(kNames[i], FSaved[i] ? FSaved[i]->c_str() : nullptr);
    SetLanguage(kLangIdEnglish);
  }
  static void Set(const char* name, const char* value) {
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  void SetAll(const char* language, const char* all, const char* messages, const char* lang) {
    Set("LANGUAGE", language);
    Set("LC_ALL", all);
    Set("LC_MESSAGES", messages);
    Set("LANG", lang);
  }

 private:
  std::optional<std::string> FSaved[4];
};

TEST_F(SystemLocale, PrecedenceOfTheVariables) {
  SetAll("fr_CH:de_DE", "it_IT.UTF-8", "de_AT", "es_MX");
  EXPECT_EQ(SystemLangId(), 4108);
  SetAll("", "it_IT.UTF-8", "de_AT", "es_MX");
  EXPECT_EQ(SystemLangId(), 1040);
  SetAll(nullptr, nullptr, "de_AT", "es_MX");
  EXPECT_EQ(SystemLangId(), 3079);
  SetAll(nullptr, "", "", "es_MX");
  EXPECT_EQ(SystemLangId(), 2058);
  SetAll(":nl_NL", nullptr, nullptr, "ja_JP");  // an empty first entry: the next variables
  EXPECT_EQ(SystemLangId(), 1041);
  SetAll(nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(SystemLangId(), 1033);

  SetAll(nullptr, nullptr, nullptr, "de_CH.UTF-8");
  EXPECT_EQ(SetLanguage(kLangIdSystemDefault), 7500);
  EXPECT_EQ(LangStr(kStrNotes), "Notizen");
  EXPECT_EQ(SetLanguageFromSystem(), 7500);
}

}  // namespace
