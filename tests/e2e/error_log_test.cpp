// The error log a failed run leaves in the release, and its removal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "tests/e2e/site.h"

namespace e2e {

using support::Exists;
using support::ReadFile;
using support::SfvText;
using support::WriteFile;
namespace {

// The log of a failed run, which the next normal run removes; none where the
// settings switch it off.
TEST(ErrorLogFile, FailedRunLeavesItUntilTheNextRun) {
  Site site;
  WriteFile(site.InRelease("rel.sfv"), SfvText({{"a.r00", "data"}}));
  WriteFile(site.InRelease("a.r00"), "data");
  const std::string line = site.InRelease("a.r00") + " 1A2B3C4D -u:bob -l:fast -s:x";
  EXPECT_EQ(site.RunLine(line).exitStatus, 1);
  EXPECT_NE(ReadFile(site.InRelease("errorlog.txt"))
                .find("Error Number: 13\r\nError Description: Type mismatch\r\n\r\n"
                      "Executed with parameters: \"" +
                      TargetText(line) + "\"\r\n"),
            std::string::npos);
  EXPECT_EQ(site.Upload("a.r00", "data").exitStatus, 0);
  EXPECT_FALSE(Exists(site.InRelease("errorlog.txt")));

  site.programs().WriteSettings(SiteSettings({"ON_ERR_MK_FILE=0"}));
  EXPECT_EQ(site.RunLine(line).exitStatus, 1);
  EXPECT_FALSE(Exists(site.InRelease("errorlog.txt")));
}

// A drive letter of wine's for the release folder, for as long as it lives:
// the release then lies in the root of that drive.
class MappedDrive {
 public:
  explicit MappedDrive(const std::string& folder) : link_(DosDevices() + "/r:") {
    std::filesystem::remove(link_);
    std::filesystem::create_directory_symlink(folder, link_);
  }
  ~MappedDrive() { std::filesystem::remove(link_); }

 private:
  static std::string DosDevices() {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr) throw std::runtime_error("WINEPREFIX names no wine prefix");
    return std::string(prefix) + "/dosdevices";
  }
  std::string link_;
};

// In a release folder and in a release at a drive root, whose parent entries
// go into the release itself.
class FailingStep : public ::testing::TestWithParam<bool> {};

TEST_P(FailingStep, RemovesTheMarkersAndLogsItsContext) {
  const bool driveRoot = GetParam();
  if (driveRoot && !UnderWine()) GTEST_SKIP() << "drive roots are Windows paths";
  // A header name the platform refuses makes the header step fail.
  Site site({"BADMSG=50% done: not/allowed"});
  WriteFile(site.InRelease("rel.sfv"), SfvText({{"a.r00", "data"}, {"a.r01", "more"}}));
  std::optional<MappedDrive> drive;
  if (driveRoot) drive.emplace(site.Release());
  WriteFile(site.InRelease("a.r00"), "data");
  const std::string uploaded = driveRoot ? std::string("R:\\a.r00") : site.InRelease("a.r00");
  RunResult result =
      site.RunLine(uploaded + " " + support::Crc32Text("data") + " -u:bob -l:1 -s:x");
  EXPECT_NE(result.exitStatus, 0);
  // The log is where the release is, with the step's context.
  EXPECT_NE(ReadFile(site.InRelease("errorlog.txt")).find("using BADMSG from corvane.ini"),
            std::string::npos);
  for (const std::string& entry : site.Tree()) {
    EXPECT_EQ(entry.find("IN PROGRESS"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("Currently being SFV checked"), std::string::npos) << entry;
  }
}

INSTANTIATE_TEST_SUITE_P(InAFolderAndAtADriveRoot, FailingStep, ::testing::Bool());

}  // namespace
}  // namespace e2e
