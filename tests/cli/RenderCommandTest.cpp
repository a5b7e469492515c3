// tracewell-cli render, run as the program itself without a display: the picture files and
// their sizes, and the errors that write nothing.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "CliTestSupport.h"
#include "TestSupport.h"

namespace {

using tw_test::ReadFile;
using tw_test::SamplePath;
using tw_test::TTempDir;

// Runs the program with no display to be had; returns its exit status.
int RunProgram(const std::string& args, const TTempDir& dir) {
  const std::string command =
      std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '") +
      TRACEWELL_CLI_PROGRAM + "' " + args + " >'" + (dir / "out.txt").string() + "' 2>'" +
      (dir / "err.txt").string() + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool RenderAvailable(const TTempDir& dir) {
  return RunProgram("render --help", dir) == 0;
}

std::string Samples() {
  return "'" + SamplePath("mh703_pull.DRF") + "' '" + SamplePath("mh100_pull.DRF") + "'";
}

uint32_t BigEndian(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(RenderCommand, WritesPictureFilesOfTheRequestedSize) {
  TTempDir dir;
  if (!RenderAvailable(dir)) GTEST_SKIP() << "built without the widget parts";
  for (const char* name : {"graph.png", "graph.svg", "graph.pdf"}) {
    const auto out = dir / name;
    ASSERT_EQ(RunProgram("render --size 640x480 --graphs 2 --y3 rpm --out '" + out.string() + "' " +
                             Samples(),
                         dir),
              0)
        << name << ": " << ReadFile(dir / "err.txt");
    const std::string file = ReadFile(out);
    ASSERT_FALSE(file.empty()) << name;
    const std::string extension = out.extension().string();
    if (extension == ".png") {
      ASSERT_GT(file.size(), 24u);
      EXPECT_EQ(file.substr(1, 3), "PNG");
      EXPECT_EQ(BigEndian(file, 16), 640u);
      EXPECT_EQ(BigEndian(file, 20), 480u);
    } else if (extension == ".svg") {
      EXPECT_NE(file.find("viewBox=\"0 0 640 480\""), std::string::npos);
      EXPECT_NE(file.find("HALVORN RESEARCH"), std::string::npos);
    } else {
      EXPECT_EQ(file.rfind("%PDF", 0), 0u);
      // 640 x 480 pixels at 96 per inch are 480 x 360 points.
      EXPECT_NE(file.find("/MediaBox [0 0 480"), std::string::npos);
      EXPECT_NE(file.find(" 360"), std::string::npos);
    }
  }
}

TEST(RenderCommand, BadRequestsWriteNothing) {
  TTempDir dir;
  if (!RenderAvailable(dir)) GTEST_SKIP() << "built without the widget parts";
  const std::string out = (dir / "graph.png").string();
  std::string thirteen;
  for (int i = 0; i < 13; ++i)
    thirteen += " '" + SamplePath("mh703_pull.DRF") + "'";
  const struct {
    std::string args;
    int status;
  } cases[] = {
      {"render " + Samples(), 2},                                   // no --out
      {"render --out '" + out + ".bmp' " + Samples(), 2},           // unknown format
      {"render --size 0x480 --out '" + out + "' " + Samples(), 2},  // no width
      {"render --size 20000x20000 --out '" + out + "' " + Samples(), 2},
      {"render --graphs 4 --out '" + out + "' " + Samples(), 2},
      {"render --y2 wind --out '" + out + "' " + Samples(), 2},
      {"render --labels all --out '" + out + "' " + Samples(), 2},
      {"render --out '" + out + "'", 2},             // no run file
      {"render --out '" + out + "'" + thirteen, 2},  // more runs than the graph shows
      {"render --out '" + out + "' '" + (dir / "absent.DRF").string() + "'", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RunProgram(c.args, dir), c.status) << c.args;
    EXPECT_FALSE(std::filesystem::exists(out)) << c.args;
    EXPECT_FALSE(ReadFile(dir / "err.txt").empty()) << c.args;
  }
}

}  // namespace
