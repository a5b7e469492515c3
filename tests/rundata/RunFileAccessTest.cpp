// Getting at a run file: the signature check, reading the file whole, the file times, and the
// formatted number reads of the M301 text part.

#include <fcntl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>

#include "ByteReader.h"
#include "FileTimes.h"
#include "PullModel.h"
#include "RunFile.h"
#include "RunFileBytes.h"
#include "TestSupport.h"

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Sets TZ for one test and puts the previous value back.
class TTimeZone {
 public:
  explicit TTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) FOld = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TTimeZone() {
    if (FOld.empty())
      unsetenv("TZ");
    else
      setenv("TZ", FOld.c_str(), 1);
    tzset();
  }

 private:
  std::string FOld;
};

}  // namespace

TEST(CheckRunFile, TheFirstLineDecides) {
  const struct {
    std::string FContent;
    int FExpected;
  } cases[] = {
      {"M301\r\n<title>\r\n", 0},
      {"MH100\r\n\x00\x01\x02", 0},
      {"MH703\r\n", 0},
      {"MH703\r", 2},  // the file ends inside the first line
      {"MH703", 2},
      {"", 2},
      {"M301\n", 2},  // LF alone is not the signature line
      {"m301\r\n", 2},
      {"MH7030\r\n", 2},
      {std::string(80, 'x') + "\r\nM301\r\n", 2},  // only line 1 counts
  };
  tw_test::TTempDir dir;
  for (const auto& c : cases) {
    const auto path = dir / "run.DRF";
    WriteFile(path, c.FContent);
    EXPECT_EQ(CheckRunFile(path.string()), c.FExpected) << "content: " << c.FContent;
  }
}

TEST(CheckRunFile, PathsThatCannotBeReadGiveOne) {
  tw_test::TTempDir dir;
  const auto fifo = dir / "pipe.DRF";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A FIFO without writer would block a plain open; it must be refused at once.
  for (const std::string& path :
       {std::string(), (dir / "missing.DRF").string(), dir.Path().string(), fifo.string()}) {
    EXPECT_EQ(CheckRunFile(path), 1) << path;
    TRunData run;
    EXPECT_EQ(LoadFileData(path, run, {}), 1) << path;
    EXPECT_EQ(ReadRunHeader(path, run), 1) << path;
  }
}

TEST(LoadFileData, ReadsPulledRunsOfEachVariantFromDisk) {
  tw_test::TTempDir dir;
  for (TSynthVariant variant : {TSynthVariant::M301, TSynthVariant::MH100, TSynthVariant::MH703}) {
    TPullSpec spec;
    spec.FVariant = variant;
    const auto path = dir / "pull.DRF";
    WriteRunFile(TPullModel(spec).Run(), path);
    EXPECT_EQ(CheckRunFile(path.string()), 0);
    TRunData run;
    ASSERT_EQ(LoadFileData(path.string(), run, {}), 0);
    EXPECT_EQ(run.FFileName, "pull.DRF");
    EXPECT_GT(run.FModified, 0);
    EXPECT_FALSE(run.FDateText.empty());
    EXPECT_EQ(run.FDrums.size(), 1u);
    EXPECT_EQ(run.FRPMs.size(), 1u);
    EXPECT_GT(run.FNumPoints, 100u);
    EXPECT_GT(run.ChannelCount(), 5u);
  }
}

TEST(ReadRunFileBytes, RefusesFilesPastTheSizeLimit) {
  tw_test::TTempDir dir;
  WriteFile(dir / "ten", "MH703\r\nabc");
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadRunFileBytes((dir / "ten").string(), bytes, 10));
  EXPECT_EQ(bytes.size(), 10u);
  EXPECT_FALSE(ReadRunFileBytes((dir / "ten").string(), bytes, 9));
  EXPECT_TRUE(bytes.empty());
}

TEST(FileTimes, DayCountsAreLocalTimeSince1899) {
  TTimeZone zone("UTC0");
  double day = 0;
  ASSERT_TRUE(LocalDayCount(0, 0, day));
  EXPECT_DOUBLE_EQ(day, 25569.0);  // 1 Jan 1970
  ASSERT_TRUE(LocalDayCount(86400 + 6 * 3600, 500000000, day));
  EXPECT_DOUBLE_EQ(day, 25570.0 + (6 * 3600 + 0.5) / 86400);
  // Before day 0 the days count down while the fraction still runs forward.
  ASSERT_TRUE(LocalDayCount(-2209161600 - 86400 + 6 * 3600, 0, day));
  EXPECT_DOUBLE_EQ(day, -1.25);
  {
    TTimeZone east("XST-2");  // two hours ahead of UTC
    ASSERT_TRUE(LocalDayCount(0, 0, day));
    EXPECT_DOUBLE_EQ(day, 25569.0 + 2.0 / 24);
  }
}

TEST(FileTimes, FormatsShortDateAndLongTime) {
  std::setlocale(LC_TIME, "C");
  EXPECT_EQ(FormatDayCount(25569.5), "01/01/70 12:00:00");
  EXPECT_EQ(FormatDayCount(-1.25), "12/29/99 06:00:00");
  EXPECT_EQ(FormatDayCount(45000.999999999), "03/15/23 23:59:59");  // no 24:00:00
  EXPECT_EQ(FormatDayCount(std::nan("")), "");
  EXPECT_EQ(FormatDayCount(1e300), "");
}

TEST(FileTimes, ReadFromTheFileSystem) {
  TTimeZone zone("UTC0");
  std::setlocale(LC_TIME, "C");
  tw_test::TTempDir dir;
  const auto path = dir / "run.DRF";
  WriteFile(path, "MH703\r\n");
  // 2023-03-15 10:30:00 UTC written, 2023-03-16 00:00:00 accessed.
  const struct timespec times[2] = {{1678924800, 0}, {1678876200, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

  TRunData run;
  ReadFileTimes(path.string(), run);
  EXPECT_DOUBLE_EQ(run.FModified, 45000.4375);
  EXPECT_DOUBLE_EQ(run.FAccessed, 45001.0);
  EXPECT_GT(run.FCreated, 45000.0);  // birth time (now) where kept, else the write time
  EXPECT_EQ(run.FDateText, "03/15/23 10:30:00");

  TRunData missing;
  ReadFileTimes((dir / "none.DRF").string(), missing);
  EXPECT_EQ(missing.FModified, 0);
  EXPECT_EQ(missing.FCreated, 0);
  EXPECT_EQ(missing.FAccessed, 0);
}

TEST(ByteReader, ScansShortsAsCDoes) {
  const struct {
    const char* FText;
    bool FOk;
    int16_t FValue;
  } cases[] = {
      {"-100", true, -100},
      {"  \r\n+7", true, 7},
      {"0x1F", true, 31},
      {"010", true, 8},
      {"70000", true, 4464},                  // cut to 16 bits
      {"99999999999999999999999", true, -1},  // saturates like strtol
      {"abc", false, 0},
      {"", false, 0},
      {"-", false, 0},
  };
  for (const auto& c : cases) {
    const std::string text = c.FText;
    TByteReader in({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
    int16_t value = 0;
    EXPECT_EQ(in.ScanShort(value), c.FOk) << c.FText;
    if (c.FOk) {
      EXPECT_EQ(value, c.FValue) << c.FText;
    }
  }
}

TEST(ByteReader, ScansNumbersWithADecimalPointInAnyLocale) {
  const std::string text = "29.92 -1.5e3 7abc";
  TByteReader in({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  // A window started under a decimal-comma locale must still read the files' points.
  const std::string old = std::setlocale(LC_NUMERIC, nullptr);
  const bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  float baro = 0;
  double temperature = 0, next = 0;
  EXPECT_TRUE(in.ScanFloat(baro));
  EXPECT_TRUE(in.ScanDouble(temperature));
  EXPECT_TRUE(in.ScanDouble(next));
  EXPECT_FALSE(in.ScanDouble(next));  // "abc" is no number
  std::setlocale(LC_NUMERIC, old.c_str());
  EXPECT_FLOAT_EQ(baro, 29.92f);
  EXPECT_DOUBLE_EQ(temperature, -1500);
  if (!comma) GTEST_SKIP() << "no decimal-comma locale installed; read in the C locale only";
}
