#include "StringTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Language.h"
#include "StringIds.h"
#include "TestSupport.h"

namespace {

struct TTranslation {
  const char* FName;
  int FOffset;
};
constexpr TTranslation kTranslations[] = {
    {"Italian", kOffsetItalian}, {"German", kOffsetGerman},   {"Dutch", kOffsetDutch},
    {"French", kOffsetFrench},   {"Spanish", kOffsetSpanish},
};

std::vector<TStringEntry> EnglishEntries() {
  std::vector<TStringEntry> english;
  for (const TStringEntry& e : StringTable())
    if (e.FID < kOffsetJapanese) english.push_back(e);
  return english;
}

// The printf conversions of a text, in order ("%%" included, so a lost percent sign shows):
// flags, width, precision, length modifier and the conversion letter.
std::vector<std::string> FormatSpecifiers(std::string_view text) {
  const auto skip = [&](std::size_t i, std::string_view set) {
    while (i < text.size() && set.find(text[i]) != std::string_view::npos)
      ++i;
    return i;
  };
  std::vector<std::string> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    std::size_t j = skip(i + 1, "-+ #0");
    j = skip(j, "*0123456789");
    if (j < text.size() && text[j] == '.') j = skip(j + 1, "*0123456789");
    j = skip(j, "hlLqjzt");
    if (j < text.size() &&
        std::string_view("diouxXeEfFgGaAcspn%").find(text[j]) != std::string_view::npos) {
      found.emplace_back(text.substr(i, j - i + 1));
      i = j;
    }
  }
  return found;
}

// Number of accelerator markers: a single "&" ("&&" is a literal ampersand).
int Accelerators(std::string_view text) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (i + 1 < text.size() && text[i + 1] == '&') {
      ++i;
    } else {
      ++count;
    }
  }
  return count;
}

std::string_view LeadingBlanks(std::string_view t) {
  return t.substr(0, t.find_first_not_of(' '));
}
std::string_view TrailingBlanks(std::string_view t) {
  const auto last = t.find_last_not_of(' ');
  return last == std::string_view::npos ? t : t.substr(last + 1);
}

TEST(StringTable, SortedAndUnique) {
  const auto table = StringTable();
  ASSERT_FALSE(table.empty());
  for (std::size_t i = 1; i < table.size(); ++i)
    EXPECT_LT(table[i - 1].FID, table[i].FID);
  // Nothing may sit in the Japanese or Chinese blocks, or those languages would not read English.
  for (const TStringEntry& e : table) {
    EXPECT_FALSE(e.FID >= kOffsetJapanese && e.FID < kOffsetItalian) << e.FID;
    EXPECT_LT(e.FID, kOffsetChinese) << e.FID;
  }
}

// A missing translation shows English in the middle of a translated window, and a translation
// that loses a format specifier, an accelerator or a blank that callers rely on breaks the
// caller's text. Each English text must have a faithful counterpart in every language.
TEST(StringTable, EveryTextTranslatedFaithfully) {
  for (const TStringEntry& en : EnglishEntries()) {
    for (const TTranslation& lang : kTranslations) {
      const auto text = FindString(en.FID + lang.FOffset);
      if (!text) {
        ADD_FAILURE() << lang.FName << " has no text for id " << en.FID;
        continue;
      }
      const std::string where = std::string(lang.FName) + " id " + std::to_string(en.FID);
      EXPECT_EQ(FormatSpecifiers(*text), FormatSpecifiers(en.FText)) << where;
      EXPECT_EQ(Accelerators(*text), Accelerators(en.FText)) << where;
      EXPECT_EQ(LeadingBlanks(*text), LeadingBlanks(en.FText)) << where;
      EXPECT_EQ(TrailingBlanks(*text), TrailingBlanks(en.FText)) << where;
      EXPECT_EQ(text->find("\r\n") != std::string_view::npos,
                en.FText.find("\r\n") != std::string_view::npos)
          << where;
    }
  }
}

TEST(StringTable, FormatSpecifierScanner) {
  EXPECT_EQ(FormatSpecifiers("%s: %.2f %s, %d%% %5.1lf 100 %"),
            (std::vector<std::string>{"%s", "%.2f", "%s", "%d", "%%", "%5.1lf"}));
  EXPECT_EQ(Accelerators("Save && &Exit"), 1);
}

// Texts that callers build on or that users see exactly as documented.
TEST(StringTable, QuotedTexts) {
  const struct {
    int id;
    const char* text;
  } cases[] = {
      {kStrErrorLoading, "Error Loading Data\r\nLoadFileData Returned With Error"},
      {kStrErrorCalculating, "Error Calculating Data\r\nCalculateData Returned With Error: "},
      {kStrTooManyRuns,
       "A maximum of 12 runs may be loaded at a time.\r\nDelete some of the runs already loaded "
       "first."},
      {kStrErrorSavingRunFile,
       "Error Saving Data to RunFile\r\n Function Returned With Error Code: "},
      {kStrNoJapaneseFont, "Required Japanese font not installed.\r\nReverting to English"},
      {kStrErrorLoadingForm, "Error Loading Form\r\nReturning To Benchlog"},
      {kStrDrum, "Drum "},
      {kStrRunName, "Run Name: "},
      {kStrMainTitle, "HALVORN RESEARCH"},
      {kStrColumnGearRatio, "Gear Ratio"},
      {kStrEnvironmentOptionsHint, "View / Change Current Units Settings"},
      {kStrRemoveSelectedRuns, "Remove Selected Run(s)"},
      {kStrErrorCaption, "ERROR"},
      {7118, "Potenza"},
      {7051, "NON CORRETTO"},
      {12051, "ONGECORRIGEERD"},
      {17051, "SIN CORREGIR"},
  };
  for (const auto& c : cases) {
    const auto text = FindString(c.id);
    ASSERT_TRUE(text) << c.id;
    EXPECT_EQ(*text, c.text) << c.id;
  }
}

// The graph reads its 28 strings by position; ids 1901.. must line up with its defaults.
TEST(StringTable, GraphStringsLineUp) {
  const struct {
    int index;
    const char* text;
  } cases[] = {{2, "&Solid, Thin"}, {8, "Dash-Do&t-Dot"},
               {14, "AXIS BUTTON"}, {16, "Max"},
               {17, "Area"},        {18, "CF"},
               {19, "Smoothing"},   {20, "Humidity"},
               {21, "QuickMove"},   {23, "Select Gear Ratios"},
               {27, "OK"}};
  for (const auto& c : cases)
    EXPECT_EQ(LangStr(GraphStringId(c.index)), c.text) << c.index;
  EXPECT_EQ(GraphStringId(2), kStrGraphStringsFirst);
}

// Every catalogue unit and every channel type a run can have has both its texts in English.
TEST(StringTable, FamiliesComplete) {
  for (int u = 0; u < 32; ++u)
    for (int k = 0; k < 2; ++k)
      EXPECT_TRUE(FindString(kStrUnitBase + 2 * u + k)) << u << "," << k;
  for (int c = 0; c < 6; ++c)
    for (int k = 0; k < 2; ++k)
      EXPECT_TRUE(FindString(kStrCFBase + 2 * c + k)) << c << "," << k;
  for (int t : {0, 1, 2, 3, 4, 5, 12, 13, 16, 20, 21})
    for (int k = 0; k < 2; ++k)
      EXPECT_TRUE(FindString(kStrChannelBase + 2 * t + k)) << t;
}

// The build tool must refuse any broken text file, so a broken table stops the build.
class StringGenerator : public ::testing::Test {
 protected:
  // Runs the generator on an English file and, when given, an Italian one; returns its exit code.
  int Generate(const std::string& english, const std::string* italian = nullptr) {
    Write("en.txt", english);
    std::string command = std::string("\"") + TW_STRGEN_PATH + "\" \"" +
                          (FDir / "out.cpp").string() + "\" en 0 \"" + (FDir / "en.txt").string() +
                          "\"";
    if (italian) {
      Write("it.txt", *italian);
      command += " it 5000 \"" + (FDir / "it.txt").string() + "\"";
    }
    command += " 2>\"" + (FDir / "err.txt").string() + "\"";
    const int status = std::system(command.c_str());
    return status;
  }
  std::string Output() {
    std::ifstream in(FDir / "out.cpp", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Write(const std::string& name, const std::string& content) {
    std::ofstream(FDir / name, std::ios::binary) << content;
  }
  tw_test::TTempDir FDir;
};

TEST_F(StringGenerator, AcceptsAWellFormedFile) {
  const std::string it = "# Italian\n1\tOK\n";
  ASSERT_EQ(Generate("# comment\n\n1\tOK\r\n2\tA \"b\\\\c\\r\\n\\t?\xC2\xB0 \n", &it), 0);
  const std::string out = Output();
  EXPECT_NE(out.find("{1, \"OK\"}"), std::string::npos);
  EXPECT_NE(out.find("{5001, \"OK\"}"), std::string::npos);
  // Quotes, backslashes, control and non-ASCII bytes become escapes; the trailing blank stays.
  EXPECT_NE(out.find(R"({2, "A \"b\\c\015\012\011\077\302\260 "})"), std::string::npos) << out;
}

TEST_F(StringGenerator, RejectsBrokenFiles) {
  const char* broken[] = {
      "1 OK\n",               // no tab
      "x\tOK\n",              // id not a number
      "-1\tOK\n",             // negative id
      "2500\tOK\n",           // id in the translations' range
      "1\t\n",                // empty text
      "1\tOK\n1\tAgain\n",    // duplicate id
      "1\tbad \\q escape\n",  // unknown escape
      "1\tends in \\\n",      // lone backslash
      "1\traw\ttab\n",        // raw control character
      "1\t\xC3(\n",           // invalid UTF-8
      "1\t\xC0\xAF\n",        // overlong UTF-8
  };
  for (const char* file : broken)
    EXPECT_NE(Generate(file), 0) << file;

  const std::string unknownId = "2\tAnnulla\n";
  EXPECT_NE(Generate("1\tOK\n", &unknownId), 0);
  const std::string duplicate = "1\tOK\n1\tVa bene\n";
  EXPECT_NE(Generate("1\tOK\n", &duplicate), 0);
}

}  // namespace
