// Runs killed at random points, as a crash or a power cut ends them: every
// file the checker replaces is replaced in one step, so at no moment does the
// release lack its SFV or hold a status store or permission file cut short or
// short of an entry (a killed holder of the permission file's lock lets go
// of it), and the next whole runs bring the release to its complete state and
// remove the temporary files that killed runs left.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>

#include "tests/e2e/site.h"
#include "tests/stress/release_state.h"

namespace stress {
namespace {

constexpr std::size_t kFileCount = 8;

class KilledRuns : public ::testing::Test {
 protected:
  // Whatever was interrupted, each file the checker replaces is whole, and
  // no permission entry seen before is lost.
  void ExpectWholeFiles() {
    const std::string sfv = support::ReadFile(site.InRelease("rel.sfv"));
    for (const auto& [name, content] : files)
      EXPECT_NE(sfv.find(name + " " + support::Crc32Text(content) + "\r\n"), std::string::npos);
    if (support::Exists(site.InRelease(".sfvStatus")))
      ExpectWholeStatusStore(site.InRelease(".sfvStatus"), kFileCount);
    if (support::Exists(site.InRelease(".message")))
      EXPECT_FALSE(CrLfLines(support::ReadFile(site.InRelease(".message")), ".message").empty());
    for (auto& [acl, keys] : permissionKeys) {
      std::set<std::string> now = PermissionKeys(acl);
      for (const std::string& key : keys) EXPECT_TRUE(now.contains(key)) << "entry lost: " << key;
      keys = std::move(now);
    }
  }

  // Entries the server made before, enough that a save takes a while and a
  // kill may land in the middle of one.
  static std::pair<std::string, std::set<std::string>> SeededPermissionFile(
      const std::string& acl) {
    std::string text;
    for (int i = 0; i < 3000; ++i)
      text += "RD2 " + std::to_string(1000000 + i * 7919) + "=srv|srv|755|1|0|\r\n";
    support::WriteFile(acl, text);
    return {acl, PermissionKeys(acl)};
  }

  // A random upload: mostly a data file, sometimes broken in transfer, now
  // and then the SFV again.
  std::string RandomUpload() {
    const std::size_t which = std::uniform_int_distribution<std::size_t>(0, kFileCount)(random);
    if (which < kFileCount) {
      const bool broken = std::bernoulli_distribution(0.2)(random);
      support::WriteFile(site.InRelease(files[which].first),
                         files[which].second + (broken ? "!" : ""));
    }
    return e2e::UploadLine(site.InRelease(which < kFileCount ? files[which].first : "rel.sfv"));
  }

  // Everything that replaces a file is on: status store, message file, SFV
  // rewriting, and permission entries for the release and every file of it
  // once complete. The sweep clears headers that a killed run made but could
  // not record.
  e2e::Site site{{"ISSERVG6=False", "APPEND_MSG_TO_SFV=1", "APPEND_MSG=Checked by corvane",
                  "DELKEYWORD=incomplete", "LOCK_FOLDER_IF_COMPLETE=True",
                  "LOCK_FILES_IF_COMPLETE=True", "LOCK_USER=site", "LOCK_GROUP=site",
                  "LOCK_CHMOD=555"}};
  const e2e::FileList files = [] {
    e2e::FileList files;
    for (std::size_t i = 0; i < kFileCount; ++i)
      files.push_back({"rel.r0" + std::to_string(i), std::string(1000 + i * 3000, 'a' + i)});
    return files;
  }();
  std::mt19937 random{20261207};
  std::map<std::string, std::set<std::string>> permissionKeys = {
      SeededPermissionFile(site.InRelease(".raidenftpd.acl")),
      SeededPermissionFile(site.Section() + "/.raidenftpd.acl")};
};

TEST_F(KilledRuns, ReleaseStaysWholeAndConverges) {
  if (e2e::UnderWine()) GTEST_SKIP() << "native runs only";
  support::WriteFile(site.InRelease("rel.sfv"), support::SfvText(files));
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  int killed = 0;
  for (int round = 0; round < 400 && std::chrono::steady_clock::now() < end; ++round) {
    // One to three runs at once; most are killed after a few milliseconds.
    std::vector<std::string> lines;
    std::vector<std::optional<double>> kills;
    for (int i = std::uniform_int_distribution<int>(1, 3)(random); i > 0; --i) {
      lines.push_back(RandomUpload());
      kills.push_back(std::bernoulli_distribution(0.25)(random)
                          ? std::nullopt
                          : std::optional(std::uniform_real_distribution(0.001, 0.03)(random)));
    }
    for (int status : site.programs().RunTogether(lines, kills)) {
      EXPECT_TRUE(status == 0 || status == 137) << status;
      killed += status == 137;
    }
    ExpectWholeFiles();
    if (HasFailure()) break;
  }
  EXPECT_GT(killed, 0);

  // Whole runs afterwards finish the release.
  for (const auto& [name, content] : files) {
    ASSERT_EQ(site.Upload(name, content).exitStatus, 0);
    ExpectWholeFiles();
  }
  for (const std::string& entry : site.Tree()) {
    for (const char* left :
         {".missing", "] incomplete", "IN PROGRESS", "Currently being SFV checked", ".corvane-"})
      EXPECT_EQ(entry.find(left), std::string::npos) << entry;
  }
  EXPECT_TRUE(support::Exists(site.InRelease("[8 files] complete")));
}

}  // namespace
}  // namespace stress
