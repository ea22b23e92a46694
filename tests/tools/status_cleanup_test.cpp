#include "cleanup/status_cleanup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace cleanup {
namespace {

using support::Exists;
using support::MakeFolder;
using support::WriteFile;

constexpr const char* kHeader = "[###-----] 3 of 10 - INCOMPLETE";
constexpr const char* kEntry = "Rel - 3 of 10 incomplete";

// top/outer/site/ftp/Rel: the release, its parent ftp and grandparent site.
// outer and top lie above everything the clean-up may touch, deep enough that
// a faulty clean-up following ".." stays inside the temporary folder.
class StatusCleanupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeFolder(release);
    WriteFile(release + "/movie.r00", "data");
    WriteStore({"1110000000", "bob", kHeader, kEntry, "300", "1500", "False", "no_id3_year",
                "no_id3_genre", "1|bob|grp|1500|100|3"});
    WriteSettings({});
  }

  void WriteStore(const std::vector<std::string>& lines) const { WriteFile(store, Crlf(lines)); }
  void WriteSettings(const std::vector<std::string>& lines) const {
    WriteFile(programFolder / "corvane.ini", Crlf(lines));
  }
  static std::string Crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
  }
  // A status folder as the checker makes it: empty.
  static void MakeStatusFolder(const std::string& path) { MakeFolder(path); }
  void Clean(const std::string& commandLine) const {
    RunStatusCleanup(platform::SystemFileSystem(), commandLine, programFolder.path());
  }
  void ExpectReleaseUntouched() const {
    EXPECT_TRUE(Exists(store));
    EXPECT_TRUE(Exists(release + "/movie.r00"));
  }

  support::TempFolder top;
  support::TempFolder programFolder;
  const std::string outer = top / "outer";
  const std::string grandparent = outer + "/site";
  const std::string parent = grandparent + "/ftp";
  const std::string release = parent + "/Rel";
  const std::string store = release + "/.sfvStatus";
};

TEST_F(StatusCleanupTest, RemovesBothNamesFromParentAndGrandparent) {
  for (const std::string& folder : {parent, grandparent}) {
    MakeStatusFolder(folder + "/" + kHeader);
    MakeStatusFolder(folder + "/" + kEntry);
  }
  MakeFolder(parent + "/Other release");

  Clean(store);

  for (const std::string& folder : {parent, grandparent}) {
    EXPECT_FALSE(Exists(folder + "/" + kHeader)) << folder;
    EXPECT_FALSE(Exists(folder + "/" + kEntry)) << folder;
  }
  EXPECT_TRUE(Exists(parent + "/Other release"));
  ExpectReleaseUntouched();
}

TEST_F(StatusCleanupTest, OverrideFoldersAreTheOnlyPlacesLookedIn) {
  const std::string earlier = top / "earlier";
  const std::string complete = top / "complete";
  const std::string incomplete = top / "incomplete";
  for (const std::string& folder : {parent, grandparent, earlier, complete, incomplete}) {
    MakeStatusFolder(folder + "/" + kHeader);
    MakeStatusFolder(folder + "/" + kEntry);
  }
  WriteSettings({"PARENT_PATH_OVERRIDE_C=" + earlier, "[Parent_header_setup]",
                 "parent_path_override_c=" + complete, "PARENT_PATH_OVERRIDE_I=" + incomplete});

  Clean(store);

  // The header name goes with the C folder, the entry name with the I folder.
  EXPECT_FALSE(Exists(complete + "/" + kHeader));
  EXPECT_TRUE(Exists(complete + "/" + kEntry));
  EXPECT_FALSE(Exists(incomplete + "/" + kEntry));
  EXPECT_TRUE(Exists(incomplete + "/" + kHeader));
  for (const std::string& folder : {parent, grandparent, earlier}) {
    EXPECT_TRUE(Exists(folder + "/" + kHeader)) << folder;
    EXPECT_TRUE(Exists(folder + "/" + kEntry)) << folder;
  }
}

TEST_F(StatusCleanupTest, EachNameFollowsItsOwnOverride) {
  const std::string complete = top / "complete";
  MakeStatusFolder(complete + "/" + kHeader);
  MakeStatusFolder(parent + "/" + kHeader);
  MakeStatusFolder(parent + "/" + kEntry);
  MakeStatusFolder(grandparent + "/" + kEntry);
  WriteSettings({"PARENT_PATH_OVERRIDE_C=" + complete, "PARENT_PATH_OVERRIDE_I="});

  Clean(store);

  EXPECT_FALSE(Exists(complete + "/" + kHeader));
  EXPECT_TRUE(Exists(parent + "/" + kHeader));
  EXPECT_FALSE(Exists(parent + "/" + kEntry));
  EXPECT_FALSE(Exists(grandparent + "/" + kEntry));
}

TEST_F(StatusCleanupTest, EntriesMadeAsEmptyFilesStay) {
  WriteFile(parent + "/" + kHeader, "");
  WriteFile(grandparent + "/" + kEntry, "");
  Clean(store);
  EXPECT_TRUE(Exists(parent + "/" + kHeader));
  EXPECT_TRUE(Exists(grandparent + "/" + kEntry));
}

TEST_F(StatusCleanupTest, NothingIsDeletedWhenARunDoesNotQualify) {
  MakeStatusFolder(parent + "/" + kHeader);
  MakeStatusFolder(parent + "/" + kEntry);
  const auto expectBothStay = [&](const std::string& why) {
    EXPECT_TRUE(Exists(parent + "/" + kHeader)) << why;
    EXPECT_TRUE(Exists(parent + "/" + kEntry)) << why;
  };

  Clean("");
  expectBothStay("empty command line");
  Clean(release);
  expectBothStay("no status store name");
  WriteFile(release + "/.sfvStatusX", support::ReadFile(store));
  Clean(release + "/.sfvStatusX");
  expectBothStay("status store name not at the end");
  WriteFile(release + "/.SFVSTATUS", support::ReadFile(store));
  Clean(release + "/.SFVSTATUS");
  expectBothStay("status store name in capitals");
  Clean(parent + "/Gone/.sfvStatus");
  expectBothStay("no such status store");

  WriteStore({"1110000000", "bob"});
  Clean(store);
  expectBothStay("a store of two lines");

  WriteStore({"1110000000", "bob", kHeader, kEntry});
  std::filesystem::remove(programFolder / "corvane.ini");
  Clean(store);
  expectBothStay("no corvane.ini");
  ExpectReleaseUntouched();
}

TEST_F(StatusCleanupTest, AStoreOfThreeLinesRemovesOnlyTheHeader) {
  MakeStatusFolder(parent + "/" + kHeader);
  MakeStatusFolder(parent + "/" + kEntry);
  WriteStore({"1110000000", "bob", kHeader});
  Clean(store);
  EXPECT_FALSE(Exists(parent + "/" + kHeader));
  EXPECT_TRUE(Exists(parent + "/" + kEntry));
}

}  // namespace
}  // namespace cleanup
