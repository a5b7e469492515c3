// The user's settings are read only with --registry; a run of the program without it leaves them
// untouched. The program runs in a child process whose settings folder is a temporary one.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "CliTestSupport.h"
#include "Registry.h"
#include "TestSupport.h"

namespace {

using namespace tw_test;

// Every file under the folder with its content.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().string()] = ReadFile(entry.path());
  return files;
}

// Values in column 1 of the CSV, after the header.
int ValuesInSecondColumn(const std::string& csv) {
  int count = 0;
  const auto rows = ParseCsv(csv);
  for (size_t r = 1; r < rows.size(); ++r)
    count += rows[r].size() > 1 && !rows[r][1].empty();
  return count;
}

TEST(CliRegistry, ClutchPowerFromTheUsersSettingsOnlyWhenAsked) {
  TTempDir config, output;
  {
    TRegistry registry(config.Path());
    ASSERT_TRUE(registry.OpenKey("\\Software\\Halvorn Research Inc.\\Data32", true));
    ASSERT_TRUE(registry.WriteInteger("Clutch Power", 1));
  }
  const auto before = Snapshot(config.Path());
  const auto out = output / "out.csv";
  const auto run = [&](const std::string& options) {
    const std::string command =
        "XDG_CONFIG_HOME='" + config.Path().string() + "' '" + TRACEWELL_CLI_PROGRAM + "' export " +
        options + " '" + SamplePath("mh100_pull.DRF") + "' >'" + out.string() + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };

  ASSERT_EQ(run("--y clutch-power"), 0);
  EXPECT_EQ(ValuesInSecondColumn(ReadFile(out)), 0);
  EXPECT_EQ(Snapshot(config.Path()), before);

  ASSERT_EQ(run("--registry --y clutch-power"), 0);
  EXPECT_GT(ValuesInSecondColumn(ReadFile(out)), 0);
}

}  // namespace
