#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "TestSupport.h"
#include "Units.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

uint32_t U32At(const std::string& b, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

double F64At(const std::string& b, std::size_t at) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i)
    v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return std::bit_cast<double>(v);
}

void PutU32At(std::string& b, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<char>(v >> (8 * i));
}

void PutF64At(std::string& b, std::size_t at, double d) {
  const auto v = std::bit_cast<uint64_t>(d);
  for (int i = 0; i < 8; ++i)
    b[at + i] = static_cast<char>(v >> (8 * i));
}

std::string MetricFile() {
  std::string bytes;
  EXPECT_TRUE(FormatSelectedUnits(BuildUnitSet(TUnitSet::Metric), bytes));
  return bytes;
}

constexpr std::size_t Record(int i) {
  return 4 + 56 * static_cast<std::size_t>(i);
}

TEST(SelectedUnitsFile, LayoutOfTheWrittenFile) {
  tw_test::TTempDir dir;
  const auto path = dir / "SelectedUnits.cfg";
  ASSERT_TRUE(WriteSelectedUnits(path.string(), BuildUnitSet(TUnitSet::Metric)));
  const std::string b = ReadAll(path);
  ASSERT_EQ(b.size(), 732u);
  EXPECT_EQ(U32At(b, 0), 13u);
  // Unit 11, temperature: Temp in C.
  EXPECT_EQ(U32At(b, Record(11)), 11u);
  EXPECT_EQ(U32At(b, Record(11) + 4), 27u);
  EXPECT_EQ(F64At(b, Record(11) + 8), 1.0);
  EXPECT_EQ(F64At(b, Record(11) + 16), 0.0);
  EXPECT_EQ(b.substr(Record(11) + 24, 32), std::string("Temp in C") + std::string(23, '\0'));
  EXPECT_EQ(F64At(b, Record(12) + 8), 33.8638833);
  EXPECT_FALSE(std::filesystem::exists(dir / "SelectedUnits.cfg.tmp"));
}

TEST(SelectedUnitsFile, RoundTrip) {
  tw_test::TTempDir dir;
  const auto path = (dir / "units.cfg").string();
  for (const TUnitSet set : {TUnitSet::SAE, TUnitSet::Metric, TUnitSet::Japanese}) {
    const TUnitTable written = BuildUnitSet(set);
    ASSERT_TRUE(WriteSelectedUnits(path, written));
    TUnitTable read;
    ASSERT_TRUE(ReadSelectedUnits(path, read));
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(read[i].FKind, written[i].FKind);
      EXPECT_EQ(read[i].FID, written[i].FID);
      EXPECT_EQ(read[i].FMultiplier, written[i].FMultiplier);
      EXPECT_EQ(read[i].FOffset, written[i].FOffset);
      EXPECT_EQ(read[i].FName, written[i].FName);
      EXPECT_TRUE(read[i].FSymbol.empty());  // texts come from BuildUnitNames
    }
    TUnitSet matched;
    ASSERT_TRUE(MatchUnitSet(read, matched));
    EXPECT_EQ(matched, set);
  }
}

TEST(SelectedUnitsFile, NameKeptAsBytes) {
  TUnitTable table = BuildDefaultUnits();
  table[9].FName = "Pferdest\xE4rke";      // Windows-1252 ä
  table[10].FName = std::string(40, 'x');  // cut to 31 on writing
  std::string bytes;
  ASSERT_TRUE(FormatSelectedUnits(table, bytes));
  EXPECT_EQ(bytes[Record(10) + 24 + 31], '\0');
  TUnitTable read;
  ASSERT_TRUE(ParseSelectedUnits(bytes, read));
  EXPECT_EQ(read[9].FName, "Pferdest\xE4rke");
  EXPECT_EQ(read[10].FName, std::string(31, 'x'));
  // A name field without any zero byte still yields at most 31 bytes.
  std::memset(bytes.data() + Record(3) + 24, 'y', 32);
  ASSERT_TRUE(ParseSelectedUnits(bytes, read));
  EXPECT_EQ(read[3].FName, std::string(31, 'y'));
}

TEST(SelectedUnitsFile, ShortOrAbsentFilesFail) {
  tw_test::TTempDir dir;
  TUnitTable table = BuildDefaultUnits();
  EXPECT_FALSE(ReadSelectedUnits((dir / "missing.cfg").string(), table));
  EXPECT_TRUE(table.empty());
  EXPECT_FALSE(ReadSelectedUnits(dir.Path().string(), table));  // a folder

  const std::string full = MetricFile();
  const std::size_t cuts[] = {0, 3, 4, 4 + 56 * 12, 731};  // 731: 12 complete records
  for (const std::size_t cut : cuts) {
    table = BuildDefaultUnits();
    EXPECT_FALSE(ParseSelectedUnits(full.substr(0, cut), table)) << cut;
    EXPECT_TRUE(table.empty()) << cut;
  }
  // The same through the file reader: a count of 13 with only 12 complete records.
  WriteAll(dir / "short.cfg", full.substr(0, 731));
  EXPECT_FALSE(ReadSelectedUnits((dir / "short.cfg").string(), table));
}

TEST(SelectedUnitsFile, FewerKindsAndTrailingBytesAreAccepted) {
  std::string bytes = MetricFile();
  PutU32At(bytes, 0, 12);  // pressure missing: its channels stay in base units
  TUnitTable table;
  ASSERT_TRUE(ParseSelectedUnits(bytes, table));  // record 12 is now trailing data
  EXPECT_EQ(table.size(), 12u);
  EXPECT_EQ(table[11].FID, 27);
  PutU32At(bytes, 0, 1);
  ASSERT_TRUE(ParseSelectedUnits(bytes.substr(0, 60), table));
  EXPECT_EQ(table.size(), 1u);
}

TEST(SelectedUnitsFile, ImplausibleContentIsRejected) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    std::size_t at;
    bool isDouble;
    uint32_t u;
    double d;
  } cases[] = {
      {"count 0", 0, false, 0, 0},
      {"count 14", 0, false, 14, 0},
      {"huge count", 0, false, 0xFFFFFFFFu, 0},
      {"kind not its index", Record(2), false, 3, 0},
      {"negative kind", Record(2), false, 0xFFFFFFFFu, 0},
      {"FID out of the catalogue", Record(2) + 4, false, 32, 0},
      {"negative FID", Record(2) + 4, false, 0x80000000u, 0},
      {"FID of another kind", Record(2) + 4, false, 17, 0},
      {"infinite multiplier", Record(9) + 8, true, 0, inf},
      {"NaN multiplier", Record(9) + 8, true, 0, nan},
      {"NaN offset", Record(11) + 16, true, 0, nan},
  };
  for (const auto& c : cases) {
    std::string bytes = MetricFile();
    if (c.isDouble) {
      PutF64At(bytes, c.at, c.d);
    } else {
      PutU32At(bytes, c.at, c.u);
    }
    TUnitTable table = BuildDefaultUnits();
    EXPECT_FALSE(ParseSelectedUnits(bytes, table)) << c.what;
    EXPECT_TRUE(table.empty()) << c.what;
  }
}

// The factors shown are the catalogue's: a file cannot make a unit lie about its values. This
// also mends files that stored 1/60 for "Time in hours", which showed minutes as hours.
TEST(SelectedUnitsFile, FactorsComeFromTheCatalogue) {
  std::string bytes = MetricFile();
  PutU32At(bytes, Record(1) + 4, 13);           // hours
  PutF64At(bytes, Record(1) + 8, 0.016666667);  // as older files hold it
  PutF64At(bytes, Record(9) + 8, 1000.0);       // a "kW" that would show thousandfold
  TUnitTable table;
  ASSERT_TRUE(ParseSelectedUnits(bytes, table));
  EXPECT_REL_NEAR(table[1].Convert(3600.0), 1.0, 1e-12);
  EXPECT_EQ(table[9].FMultiplier, 0.7457);
}

TEST(SelectedUnitsFile, FailedWriteKeepsTheStoredSelection) {
  tw_test::TTempDir dir;
  const auto path = dir / "SelectedUnits.cfg";
  ASSERT_TRUE(WriteSelectedUnits(path.string(), BuildUnitSet(TUnitSet::Japanese)));
  const std::string before = ReadAll(path);

  TUnitTable invalid = BuildDefaultUnits();
  invalid[4].FKind = 7;
  EXPECT_FALSE(WriteSelectedUnits(path.string(), invalid));
  EXPECT_FALSE(WriteSelectedUnits(path.string(), {}));
  // The temporary file cannot be created: a folder is in its way.
  std::filesystem::create_directory(dir / "SelectedUnits.cfg.tmp");
  EXPECT_FALSE(WriteSelectedUnits(path.string(), BuildDefaultUnits()));
  EXPECT_EQ(ReadAll(path), before);
  // Nor can the file be replaced when it is a folder itself; no temporary file is left behind.
  std::filesystem::create_directory(dir / "folder");
  EXPECT_FALSE(WriteSelectedUnits((dir / "folder").string(), BuildDefaultUnits()));
  EXPECT_FALSE(std::filesystem::exists(dir / "folder.tmp"));
}

TEST(SelectedUnitsFile, EmptyNameMeansTheFileInTheCurrentFolder) {
  tw_test::TTempDir dir;
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const bool written = WriteSelectedUnits("", BuildUnitSet(TUnitSet::Metric));
  TUnitTable table;
  const bool read = ReadSelectedUnits("", table);
  const bool exists = std::filesystem::exists(dir / "SelectedUnits.cfg");
  std::filesystem::current_path(old);
  EXPECT_TRUE(written);
  EXPECT_TRUE(read);
  EXPECT_TRUE(exists);
  EXPECT_EQ(table.size(), 13u);
}

}  // namespace
