// Many processes changing one folder's permission file at once, through the
// real control library: natively, and under wine against the Windows build
// with the control registered (tests/windows_com/run_wine_tests.sh). The lock
// held from each reload to its save loses no entry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "permlet/aclfile/name_key.h"
#include "tests/e2e/site.h"
#include "tests/stress/release_state.h"

namespace stress {
namespace {

namespace fs = std::filesystem;

std::string KeyOf(const std::string& name) { return std::to_string(permlet::NameKey(name)); }

// How many of the `expected` keys the permission file lacks.
int Missing(const std::set<std::string>& expected, const std::set<std::string>& keys) {
  int missing = 0;
  for (const std::string& key : expected) missing += !keys.contains(key);
  return missing;
}

// The built client program, beside the test programs of its build.
std::string ClientProgram() {
  if (!e2e::UnderWine()) return CORVANE_BIN_DIR "/../tests/chmod_client";
  const char* built = std::getenv("CORVANE_E2E_BIN");
  return std::string(built == nullptr ? "" : built) + "/../tests/chmod_client.exe";
}

TEST(PermissionStress, EightClientsOfOneFolderKeepEveryEntry) {
  constexpr int kClients = 8, kChanges = 200;
  e2e::ProgramFolder programs({});
  const fs::path client = ClientProgram();
  fs::copy_file(client, fs::path(programs.path()) / client.filename());
  support::TempFolder site;
  std::set<std::string> expected;
  std::vector<std::string> lines;
  for (int c = 0; c < kClients; ++c) {
    const std::string prefix = "c" + std::to_string(c);
    for (int i = 0; i < kChanges; ++i) {
      const std::string name = prefix + "-" + std::to_string(i);
      support::WriteFile(site / name, "");
      expected.insert(KeyOf(name));
    }
    lines.push_back(site.path() + " " + prefix + " " + std::to_string(kChanges));
  }
  for (int status : programs.RunTogether(lines, {}, "chmod_client")) EXPECT_EQ(status, 0);
  const std::set<std::string> keys = PermissionKeys(site / ".raidenftpd.acl");
  RecordProperty("entries", static_cast<int>(keys.size()));
  EXPECT_EQ(Missing(expected, keys), 0) << "of " << expected.size();
  EXPECT_EQ(keys.size(), expected.size());
}

// Locking a release writes into its section's permission file, which the
// release's own lock does not guard: siblings completing together meet there.
TEST(PermissionStress, SiblingReleasesCompletingTogetherAreAllLocked) {
  constexpr int kSiblings = 24;
  const int rounds = e2e::UnderWine() ? 3 : 8;
  e2e::ProgramFolder programs(
      e2e::SiteSettings({"ISSERVG6=False", "LOCK_FOLDER_IF_COMPLETE=True", "LOCK_USER=site",
                         "LOCK_GROUP=site", "LOCK_CHMOD=555"}));
  support::TempFolder sites;
  const std::string section = sites / "section";
  const e2e::FileList files = {{"a.r00", "the only part"}};
  std::set<std::string> expected;
  int lost = 0;
  for (int round = 0; round < rounds; ++round) {
    std::vector<std::string> lines;
    for (int i = 0; i < kSiblings; ++i) {
      const std::string release = "Rel-" + std::to_string(round) + "-" + std::to_string(i);
      support::WriteFile(section + "/" + release + "/a.r00", files[0].second);
      support::WriteFile(section + "/" + release + "/rel.sfv", support::SfvText(files));
      lines.push_back(e2e::UploadLine(section + "/" + release + "/rel.sfv"));
      expected.insert(KeyOf(release));
    }
    for (int status : programs.RunTogether(lines)) EXPECT_EQ(status, 0);
    const std::set<std::string> keys = PermissionKeys(section + "/.raidenftpd.acl");
    const int missing = Missing(expected, keys);
    lost += missing;
    EXPECT_EQ(missing, 0) << "round " << round << ", of " << expected.size();
    EXPECT_EQ(keys.size(), expected.size());
  }
  RecordProperty("rounds", rounds);
  RecordProperty("lost", lost);
}

}  // namespace
}  // namespace stress
