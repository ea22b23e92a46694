// Many processes changing one folder's permission file at once, through the
// real control library: natively, and under wine against the Windows build
// with the control registered (tests/windows_com/run_wine_tests.sh). The lock
// held from each reload to its save loses no entry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/e2e/site.h"
#include "tests/stress/release_state.h"

namespace stress {
namespace {

namespace fs = std::filesystem;

// The keys of `names`, each of which the permission file `acl` must hold,
// as it must hold nothing else.
void ExpectEntriesOf(const std::vector<std::string>& names, const std::string& acl) {
  std::set<std::string> expected;
  for (const std::string& name : names) expected.insert(KeyOf(name));
  EXPECT_EQ(PermissionKeys(acl), expected);
}

TEST(PermissionStress, EightClientsOfOneFolderKeepEveryEntry) {
  constexpr int kClients = 8, kChanges = 200;
  e2e::ProgramFolder programs({});
  // The built client program, beside the test programs of its build.
  const char* built = std::getenv("CORVANE_E2E_BIN");
  const fs::path client =
      e2e::UnderWine() ? std::string(built == nullptr ? "" : built) + "/../tests/chmod_client.exe"
                       : std::string(CORVANE_BIN_DIR "/../tests/chmod_client");
  fs::copy_file(client, fs::path(programs.path()) / client.filename());
  support::TempFolder site;
  std::vector<std::string> names, lines;
  for (int c = 0; c < kClients; ++c) {
    const std::string prefix = "c" + std::to_string(c);
    for (int i = 0; i < kChanges; ++i) {
      names.push_back(prefix + "-" + std::to_string(i));
      support::WriteFile(site / names.back(), "");
    }
    lines.push_back(site.path() + " " + prefix + " " + std::to_string(kChanges));
  }
  for (int status : programs.RunTogether(lines, {}, "chmod_client")) EXPECT_EQ(status, 0);
  ExpectEntriesOf(names, site / ".raidenftpd.acl");
}

// Locking a release writes into its section's permission file, which the
// release's own lock does not guard: siblings completing together meet there.
TEST(PermissionStress, SiblingReleasesCompletingTogetherAreAllLocked) {
  constexpr int kSiblings = 24;
  e2e::ProgramFolder programs(
      e2e::SiteSettings({"ISSERVG6=False", "LOCK_FOLDER_IF_COMPLETE=True", "LOCK_USER=site",
                         "LOCK_GROUP=site", "LOCK_CHMOD=555"}));
  support::TempFolder section;
  std::vector<std::string> releases;
  for (int round = 0; round < (e2e::UnderWine() ? 3 : 8); ++round) {
    std::vector<std::string> lines;
    for (int i = 0; i < kSiblings; ++i) {
      releases.push_back("Rel-" + std::to_string(round) + "-" + std::to_string(i));
      const std::string release = section / releases.back();
      support::WriteFile(release + "/a.r00", "the only part");
      support::WriteFile(release + "/rel.sfv", support::SfvText({{"a.r00", "the only part"}}));
      lines.push_back(e2e::UploadLine(release + "/rel.sfv"));
    }
    for (int status : programs.RunTogether(lines)) EXPECT_EQ(status, 0);
    ExpectEntriesOf(releases, section / ".raidenftpd.acl");
  }
}

}  // namespace
}  // namespace stress
