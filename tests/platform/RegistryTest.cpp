#include "Registry.h"
#include "RegistryTable.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kTracewell = "\\Software\\Halvorn Research Inc.\\Tracewell";
constexpr std::string_view kGraph = "\\Software\\Halvorn Research Inc.\\Tracewell\\Graph";

std::string FileText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

class RegistryTest : public ::testing::Test {
 protected:
  tw_test::TTempDir FDir;
  TRegistry FReg{FDir.Path()};
};

}  // namespace

TEST_F(RegistryTest, KeyPathsMapToFilesInsideTheRoot) {
  const auto& root = FDir.Path();
  EXPECT_EQ(FReg.KeyFile(kTracewell), root / "Halvorn Research Inc." / "Tracewell.ini");
  EXPECT_EQ(FReg.KeyFile(kGraph), root / "Halvorn Research Inc." / "Tracewell" / "Graph.ini");
  // Without the leading backslash, with doubled separators and another case of "Software".
  EXPECT_EQ(FReg.KeyFile("SOFTWARE\\\\Halvorn Research Inc.\\Data32\\"),
            root / "Halvorn Research Inc." / "Data32.ini");

  // Components that would leave the root or meet another key's file are escaped.
  EXPECT_EQ(FReg.KeyFile("\\Software\\..\\..\\etc"), root / "%2E%2E" / "%2E%2E" / "etc.ini");
  EXPECT_EQ(FReg.KeyFile("\\a/b\\c%d"), root / "a%2Fb" / "c%25d.ini");
  EXPECT_EQ(FReg.KeyFile("\\Tracewell.ini\\x"), root / "Tracewell%2Eini" / "x.ini");

  for (std::string_view none : {"", "\\", "\\Software", "\\\\software\\\\"}) {
    EXPECT_TRUE(FReg.KeyFile(none).empty()) << none;
    EXPECT_FALSE(FReg.OpenKey(none, true)) << none;
  }
  EXPECT_TRUE(TRegistry(std::filesystem::path()).KeyFile(kGraph).empty());
}

TEST_F(RegistryTest, OpeningCreatesOnlyWhenAllowed) {
  EXPECT_FALSE(FReg.KeyExists(kGraph));
  EXPECT_FALSE(FReg.OpenKey(kGraph, false));
  EXPECT_FALSE(FReg.HasOpenKey());
  EXPECT_FALSE(FReg.WriteInteger("x", 1));
  EXPECT_EQ(FReg.ReadInteger("x").Status, TRegStatus::rsNoKey);

  ASSERT_TRUE(FReg.OpenKey(kGraph, true));
  EXPECT_TRUE(FReg.KeyExists(kGraph));
  EXPECT_FALSE(FReg.KeyExists(kTracewell));  // a parent is a key of its own
  EXPECT_EQ(FReg.CurrentPath(), kGraph);
  FReg.CloseKey();
  EXPECT_TRUE(FReg.OpenKey(kGraph, false));
}

TEST_F(RegistryTest, ValuesOfEveryKindSurviveAnotherInstance) {
  // Names and texts that INI files, QSettings groups and our own prefixes could trip over.
  const std::vector<std::string> names = {"Max Drift Rate", "a/b\\c", "100%25",   "@", "",
                                          "x=y;z,w #q",     "Grüße",  "[General]"};
  const std::vector<std::string> texts = {"",        " lead and trail ", "a,b,c", "x;y#z",
                                          "line\nb", "\"quoted\"",       "@@",    "str:int:5",
                                          "Ünïcödé", "C:\\Runs\\a.drf"};
  const std::vector<std::uint8_t> bytes = {0, 1, 0x7F, 0x80, 0xFF};
  ASSERT_TRUE(FReg.OpenKey(kTracewell, true));
  for (std::size_t i = 0; i < names.size(); ++i) {
    ASSERT_TRUE(FReg.WriteString(names[i], texts[i])) << names[i];
  }
  ASSERT_TRUE(FReg.WriteString("text9", texts[9]));
  ASSERT_TRUE(FReg.WriteInteger("min", std::numeric_limits<std::int32_t>::min()));
  ASSERT_TRUE(FReg.WriteInteger("max", std::numeric_limits<std::int32_t>::max()));
  ASSERT_TRUE(FReg.WriteBool("flag", true));
  ASSERT_TRUE(FReg.WriteFloat("ratio", 0.1));
  ASSERT_TRUE(FReg.WriteFloat("nan", std::numeric_limits<double>::quiet_NaN()));
  ASSERT_TRUE(FReg.WriteBinaryData("wp", bytes));
  ASSERT_TRUE(FReg.WriteBinaryData("empty", {}));
  ASSERT_TRUE(FReg.Flush());

  TRegistry again(FDir.Path());
  ASSERT_TRUE(again.OpenKey(kTracewell, false));
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_TRUE(again.ValueExists(names[i])) << names[i];
    EXPECT_EQ(again.GetDataType(names[i]), TRegDataType::rdString) << names[i];
    EXPECT_EQ(again.ReadString(names[i]).Value, texts[i]) << names[i];
  }
  EXPECT_EQ(again.ReadString("text9").Value, texts[9]);
  EXPECT_EQ(*again.ReadInteger("min"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(*again.ReadInteger("max"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(*again.ReadInteger("flag"), 1);
  EXPECT_EQ(*again.ReadFloat("ratio"), 0.1);
  EXPECT_TRUE(std::isnan(*again.ReadFloat("nan")));
  EXPECT_EQ(*again.ReadBinaryData("wp"), bytes);
  EXPECT_TRUE(again.ReadBinaryData("empty").Value.empty());
  EXPECT_EQ(again.ReadBinaryData("empty").Status, TRegStatus::rsOk);
  EXPECT_EQ(again.GetValueNames().size(), names.size() + 8);
}

TEST_F(RegistryTest, FloatIsEightLittleEndianBytes) {
  ASSERT_TRUE(FReg.OpenKey(kGraph, true));
  ASSERT_TRUE(FReg.WriteFloat("Graph0Ratio", 0.75));
  EXPECT_EQ(FReg.GetDataType("Graph0Ratio"), TRegDataType::rdBinary);
  EXPECT_EQ(*FReg.ReadBinaryData("Graph0Ratio"),
            (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0xE8, 0x3F}));
  const std::uint8_t four[] = {1, 2, 3, 4};
  ASSERT_TRUE(FReg.WriteBinaryData("short", four));
  EXPECT_EQ(FReg.ReadFloat("short").Status, TRegStatus::rsWrongKind);
}

TEST_F(RegistryTest, WrongKindsAreReportedNotConverted) {
  ASSERT_TRUE(FReg.OpenKey(kGraph, true));
  ASSERT_TRUE(FReg.WriteString("text", "5"));
  ASSERT_TRUE(FReg.WriteInteger("number", 5));
  ASSERT_TRUE(FReg.WriteFloat("float", 5.0));

  EXPECT_EQ(FReg.ReadInteger("text").Status, TRegStatus::rsWrongKind);
  EXPECT_EQ(FReg.ReadBool("text").Status, TRegStatus::rsWrongKind);
  EXPECT_EQ(FReg.ReadFloat("number").Status, TRegStatus::rsWrongKind);
  EXPECT_EQ(FReg.ReadString("number").Status, TRegStatus::rsWrongKind);
  EXPECT_EQ(FReg.ReadInteger("float").Status, TRegStatus::rsWrongKind);
  EXPECT_EQ(FReg.ReadInteger("absent").Status, TRegStatus::rsMissing);
  EXPECT_EQ(FReg.ReadInteger("text").ValueOr(7), 7);
  EXPECT_EQ(*FReg.ReadBool("number"), true);

  // Another kind under the same name replaces the value.
  ASSERT_TRUE(FReg.WriteInteger("text", 3));
  EXPECT_EQ(*FReg.ReadInteger("text"), 3);
}

TEST_F(RegistryTest, HandEditedValuesThatAreNotOursAreWrongKind) {
  const auto file = FReg.KeyFile(kGraph);
  WriteFile(file,
            "[General]\n"
            "plain=5\n"
            "list=a, b\n"
            "intWord=int:abc\n"
            "intHuge=int:4294967296\n"
            "intPlus=int:+5\n"
            "binOdd=bin:abc\n"
            "binBad=bin:zz\n"
            "good=int:-1\n");
  ASSERT_TRUE(FReg.OpenKey(kGraph, false));
  for (const char* name : {"plain", "list", "intWord", "intHuge", "intPlus"}) {
    EXPECT_EQ(FReg.ReadInteger(name).Status, TRegStatus::rsWrongKind) << name;
    EXPECT_EQ(FReg.GetDataType(name), TRegDataType::rdUnknown) << name;
  }
  for (const char* name : {"binOdd", "binBad"}) {
    EXPECT_EQ(FReg.ReadBinaryData(name).Status, TRegStatus::rsWrongKind) << name;
    EXPECT_EQ(FReg.ReadFloat(name).Status, TRegStatus::rsWrongKind) << name;
  }
  EXPECT_EQ(*FReg.ReadInteger("good"), -1);
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheFirstSpelling) {
  ASSERT_TRUE(FReg.OpenKey(kGraph, true));
  ASSERT_TRUE(FReg.WriteBool("SaveOnExit", false));
  EXPECT_TRUE(FReg.ValueExists("saveonexit"));
  ASSERT_TRUE(FReg.WriteBool("SAVEONEXIT", true));
  EXPECT_EQ(FReg.GetValueNames(), std::vector<std::string>{"SaveOnExit"});
  EXPECT_TRUE(*FReg.ReadBool("SaveOnExit"));
  EXPECT_TRUE(FReg.DeleteValue("saveOnExit"));
  EXPECT_FALSE(FReg.ValueExists("SaveOnExit"));
  EXPECT_FALSE(FReg.DeleteValue("SaveOnExit"));
}

TEST_F(RegistryTest, FileThatIsNotPlainIniIsKeptAsideBeforeItIsRewritten) {
  // Rewriting keeps only what parses, so comments and broken lines would be lost.
  const auto file = FReg.KeyFile(kGraph);
  auto copy = file;
  copy += ".damaged";
  auto second = file;
  second += ".damaged-2";
  const std::string damaged = "[General]\n; by hand\nSmoothing=int:3\nthis line is no entry\n";
  WriteFile(file, damaged);

  ASSERT_TRUE(FReg.OpenKey(kGraph, false));
  EXPECT_EQ(*FReg.ReadInteger("Smoothing"), 3);
  EXPECT_EQ(FileText(file), damaged);
  EXPECT_EQ(FileText(copy), damaged);
  ASSERT_TRUE(FReg.OpenKey(kGraph, false));  // the same content is not copied twice
  EXPECT_FALSE(std::filesystem::exists(second));

  ASSERT_TRUE(FReg.WriteInteger("NumGraphs", 2));
  EXPECT_EQ(FileText(file), damaged);  // nothing is stored before the key is flushed
  ASSERT_TRUE(FReg.Flush());
  EXPECT_EQ(*FReg.ReadInteger("Smoothing"), 3);
  EXPECT_EQ(*FReg.ReadInteger("NumGraphs"), 2);
  EXPECT_EQ(FileText(copy), damaged);

  // Now plain INI: further writes make no copies.
  ASSERT_TRUE(FReg.OpenKey(kGraph, false));
  ASSERT_TRUE(FReg.WriteInteger("NumGraphs", 3));
  ASSERT_TRUE(FReg.CloseKey());
  EXPECT_FALSE(std::filesystem::exists(second));

  // Where no copy can be made, the file is only read.
  WriteFile(file, damaged + "x\n");
  std::filesystem::remove(copy);
  std::filesystem::create_directories(copy);  // blocks .damaged
  for (int n = 2; n <= 100; ++n) {
    auto blocked = file;
    blocked += ".damaged-" + std::to_string(n);
    std::filesystem::create_directories(blocked);
  }
  ASSERT_TRUE(FReg.OpenKey(kGraph, false));
  EXPECT_EQ(*FReg.ReadInteger("Smoothing"), 3);
  EXPECT_FALSE(FReg.WriteInteger("NumGraphs", 4));
  EXPECT_FALSE(FReg.DeleteValue("Smoothing"));
  FReg.CloseKey();
  EXPECT_EQ(FileText(file), damaged + "x\n");
}

TEST_F(RegistryTest, UnusableStorageFailsCleanly) {
  // A file where the key's folder should be.
  WriteFile(FDir / "Halvorn Research Inc.", "not a folder");
  EXPECT_FALSE(FReg.OpenKey(kGraph, true));
  EXPECT_FALSE(FReg.WriteInteger("x", 1));
  // A folder where the key's file should be.
  std::filesystem::create_directories(FDir / "Other" / "Key.ini");
  EXPECT_FALSE(FReg.OpenKey("\\Software\\Other\\Key", true));
  EXPECT_FALSE(FReg.KeyExists("\\Software\\Other\\Key"));

  // The file cannot be replaced any more when the changes are stored: reported, not lost
  // silently.
  constexpr std::string_view kThird = "\\Software\\Third\\Key";
  ASSERT_TRUE(FReg.OpenKey(kThird, true));
  ASSERT_TRUE(FReg.WriteInteger("x", 1));
  const auto file = FReg.KeyFile(kThird);
  std::filesystem::remove(file);
  std::filesystem::create_directories(file);
  EXPECT_FALSE(FReg.CloseKey());
}

namespace {

namespace TestKey {
inline constexpr std::string_view Path = "\\Software\\Halvorn Research Inc.\\Benchlog7\\Data32";
inline constexpr TRegSetting<double> MaxDriftRate{"Max Drift Rate", 0.75};
inline constexpr TRegSetting<std::int32_t> Correction{"Correction", 1};
inline constexpr TRegSetting<bool> SaveOnExit{"SaveOnExit", true};
inline constexpr TRegSetting<std::string> OldFile{"OldFile#"};
inline constexpr TRegSetting<std::string> FontName{"#Name", "Verdana"};
inline constexpr std::uint8_t kPlacement[] = {44, 0, 0, 0};
inline constexpr TRegSetting<TRegBytes> Placement{"WP", kPlacement};
}  // namespace TestKey

}  // namespace

TEST_F(RegistryTest, SettingsTableNamesDefaultsAndKinds) {
  EXPECT_EQ(TestKey::OldFile.NameFor(3), "OldFile3");
  EXPECT_EQ(TestKey::FontName.NameFor("CursorFont"), "CursorFontName");
  EXPECT_EQ(TestKey::Correction.NameFor(), "Correction");

  TRegKeyScope key(FReg, TestKey::Path);
  ASSERT_TRUE(key);
  // Missing: the table's defaults, or the type's zero without one.
  EXPECT_EQ(ReadSettingOr(FReg, TestKey::MaxDriftRate), 0.75);
  EXPECT_EQ(ReadSettingOr(FReg, TestKey::FontName, "AxisLabelFont"), "Verdana");
  EXPECT_EQ(ReadSettingOr(FReg, TestKey::OldFile, 0), "");
  EXPECT_EQ(ReadSettingOr(FReg, TestKey::Placement), TRegBytes({44, 0, 0, 0}));
  EXPECT_EQ(ReadSetting(FReg, TestKey::SaveOnExit).Status, TRegStatus::rsMissing);

  // Of the wrong kind: also the default, and reported as such by ReadSetting.
  ASSERT_TRUE(FReg.WriteString("Correction", "6"));
  EXPECT_EQ(ReadSettingOr(FReg, TestKey::Correction), 1);
  EXPECT_EQ(ReadSetting(FReg, TestKey::Correction).Status, TRegStatus::rsWrongKind);

  ASSERT_TRUE(WriteSetting(FReg, TestKey::OldFile, std::string("a.drf"), 2));
  EXPECT_EQ(*FReg.ReadString("OldFile2"), "a.drf");
  ASSERT_TRUE(WriteSetting(FReg, TestKey::SaveOnExit, false));
  EXPECT_EQ(*FReg.ReadInteger("SaveOnExit"), 0);

  // The default is written only where nothing of that name exists, whatever its kind.
  EXPECT_TRUE(WriteDefaultIfMissing(FReg, TestKey::MaxDriftRate));
  EXPECT_EQ(*FReg.ReadFloat("Max Drift Rate"), 0.75);
  ASSERT_TRUE(FReg.WriteFloat("Max Drift Rate", 2.0));
  EXPECT_TRUE(WriteDefaultIfMissing(FReg, TestKey::MaxDriftRate));
  EXPECT_EQ(*FReg.ReadFloat("Max Drift Rate"), 2.0);
  EXPECT_TRUE(WriteDefaultIfMissing(FReg, TestKey::Correction));
  EXPECT_EQ(FReg.ReadInteger("Correction").Status, TRegStatus::rsWrongKind);
  EXPECT_FALSE(WriteDefaultIfMissing(FReg, TestKey::OldFile, 9));
  EXPECT_FALSE(FReg.ValueExists("OldFile9"));
}

TEST_F(RegistryTest, KeyScopeClosesTheKey) {
  {
    TRegKeyScope key(FReg, kGraph);
    EXPECT_TRUE(FReg.HasOpenKey());
  }
  EXPECT_FALSE(FReg.HasOpenKey());
  TRegKeyScope absent(FReg, kTracewell, false);
  EXPECT_FALSE(absent.IsOpen());
  EXPECT_TRUE(absent.Close());
}
