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

TEST(ErrorLogFile, ParsingFailureLeavesTheExactLog) {
  Site site;
  WriteFile(site.InRelease("a.r00"), "data");
  const std::string line = site.InRelease("a.r00") + " 1A2B3C4D -u:bob -l:fast -s:x";
  RunResult result = site.RunLine(line);
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_EQ(site.Tree(), (std::vector<std::string>{"Rel/", "Rel/a.r00", "Rel/errorlog.txt"}));
  EXPECT_EQ(
      ReadFile(site.InRelease("errorlog.txt")),
      "corvane 1.0.9 error log\r\n"
      "\r\n"
      "---------Error Information----------\r\n"
      "\r\n"
      "Error Number: 13\r\n"
      "Error Description: Type mismatch\r\n"
      "\r\n"
      "Executed with parameters: \"" +
          TargetText(line) +
          "\"\r\n"
          "\r\n"
          "Action When Error Occured: Parsing parameters\r\n"
          "Recommended Solution: \r\n"
          "\r\n"
          "Make sure you have set your parameters properly according to the manual\r\n"
          "\r\n"
          "\r\n"
          "----------------[Note to FTP sysops]---\r\n"
          "If suggested solution does not work, e-mail me your corvane.ini file, along with "
          "this errorlog\r\n"
          "and a brief explanation of how the situation occured (if possible)\r\n"
          "If you do not have the newest version of corvane (build 1.0.9) then don't bother\r\n"
          "e-mailing me.  I ONLY SUPPORT LATEST VERSION\r\n"
          "http://www.example.org/corvane\r\n"
          "http://forum.example.org/corvane\r\n"
          "support@example.org\r\n");
}

TEST(ErrorLogFile, NextNormalRunRemovesAStaleLog) {
  Site site;
  WriteFile(site.InRelease("rel.sfv"), SfvText({{"a.r00", "data"}}));
  WriteFile(site.InRelease("errorlog.txt"), "an old failure");
  EXPECT_EQ(site.Upload("a.r00", "data").exitStatus, 0);
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
  ASSERT_TRUE(Exists(site.InRelease("errorlog.txt"))) << testing::PrintToString(site.Tree());
  std::string log = ReadFile(site.InRelease("errorlog.txt"));
  EXPECT_NE(log.find("Action When Error Occured: Writing status report folder header using BADMSG "
                     "from corvane.ini\r\n"),
            std::string::npos);
  for (const std::string& entry : site.Tree()) {
    EXPECT_EQ(entry.find("IN PROGRESS"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("Currently being SFV checked"), std::string::npos) << entry;
  }
}

INSTANTIATE_TEST_SUITE_P(InAFolderAndAtADriveRoot, FailingStep, ::testing::Bool());

TEST(ErrorLogFile, SwitchedOffWritesNoLog) {
  Site site({"ON_ERR_MK_FILE=0"});
  WriteFile(site.InRelease("a.r00"), "data");
  RunResult result = site.RunLine(site.InRelease("a.r00") + " 1A2B3C4D -u:bob -l:fast -s:x");
  EXPECT_NE(result.exitStatus, 0);
  EXPECT_EQ(site.Tree(), (std::vector<std::string>{"Rel/", "Rel/a.r00"}));
}

}  // namespace
}  // namespace e2e
