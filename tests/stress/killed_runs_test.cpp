// Runs killed at random points, as a crash or a power cut ends them: every
// file the checker replaces is replaced in one step, so at no moment does the
// release lack its SFV or hold a status store or permission file cut short or
// short of an entry (a killed holder of the permission file's lock lets go
// of it), and the next whole runs bring the release to its complete state and
// remove the temporary files that killed runs left.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "tests/e2e/site.h"
#include "tests/stress/release_state.h"

namespace stress {
namespace {

using e2e::FileList;

constexpr std::size_t kFileCount = 8;
constexpr auto kTimeBudget = std::chrono::seconds(15);
constexpr int kMaxRounds = 400;
const std::string kSfvName = "rel.sfv";

FileList ReleaseFiles() {
  FileList files;
  for (std::size_t i = 0; i < kFileCount; ++i)
    files.push_back({"rel.r0" + std::to_string(i), std::string(1000 + i * 3000, 'a' + i)});
  return files;
}

class KilledRuns : public ::testing::Test {
 protected:
  // The state after a round: whatever was interrupted, each file the checker
  // replaces is whole, and the permission file never loses an entry.
  void ExpectWholeFiles() {
    const std::string sfv = site.InRelease(kSfvName);
    ASSERT_TRUE(support::Exists(sfv)) << "the release lost its SFV";
    const std::string sfvText = support::ReadFile(sfv);
    CrLfLines(sfvText, sfv);
    for (const auto& [name, content] : files) {
      EXPECT_NE(sfvText.find(name + " " + support::Crc32Text(content) + "\r\n"), std::string::npos)
          << name;
    }
    if (support::Exists(site.InRelease(".sfvStatus"))) {
      ExpectWholeStatusStore(site.InRelease(".sfvStatus"), kFileCount);
    }
    const std::string message = site.InRelease(".message");
    if (support::Exists(message)) {
      EXPECT_FALSE(CrLfLines(support::ReadFile(message), message).empty());
    }
    ExpectNoEntryLost(site.InRelease(".raidenftpd.acl"), releaseKeys);
    ExpectNoEntryLost(site.Section() + "/.raidenftpd.acl", sectionKeys);
  }

  // Every line of the permission file is whole and every entry seen before
  // is still there.
  static void ExpectNoEntryLost(const std::string& acl, std::set<std::string>& keys) {
    ASSERT_TRUE(support::Exists(acl)) << "the permission file disappeared";
    std::set<std::string> now = PermissionKeys(acl);
    for (const std::string& key : keys) EXPECT_TRUE(now.contains(key)) << "entry lost: " << key;
    keys = std::move(now);
  }

  // Entries the server made before, enough that a save takes a while and a
  // kill may land in the middle of one.
  static std::set<std::string> SeedPermissionFile(const std::string& acl) {
    std::string text;
    for (int i = 0; i < 3000; ++i)
      text += "RD2 " + std::to_string(1000000 + i * 7919) + "=srv|srv|755|1|0|\r\n";
    support::WriteFile(acl, text);
    return PermissionKeys(acl);
  }

  // A random upload: mostly a data file, sometimes broken in transfer, now
  // and then the SFV again.
  std::string RandomUpload() {
    std::uniform_int_distribution<std::size_t> pick(0, files.size());
    const std::size_t which = pick(random);
    if (which == files.size()) return e2e::UploadLine(site.InRelease(kSfvName));
    const auto& [name, content] = files[which];
    const bool broken = std::bernoulli_distribution(0.2)(random);
    support::WriteFile(site.InRelease(name), broken ? content + "!" : content);
    return e2e::UploadLine(site.InRelease(name));
  }

  // Most runs are killed after a few milliseconds, some run to their end.
  std::optional<double> RandomKill() {
    if (std::bernoulli_distribution(0.25)(random)) return std::nullopt;
    return std::uniform_real_distribution<double>(0.001, 0.03)(random);
  }

  // Everything that replaces a file is on: status store, message file, SFV
  // rewriting, and permission entries for the release and every file of it
  // once complete. The sweep clears headers that a killed run made but could
  // not record.
  e2e::Site site{{"ISSERVG6=False", "APPEND_MSG_TO_SFV=1", "APPEND_MSG=Checked by corvane",
                  "DELKEYWORD=incomplete", "LOCK_FOLDER_IF_COMPLETE=True",
                  "LOCK_FILES_IF_COMPLETE=True", "LOCK_USER=site", "LOCK_GROUP=site",
                  "LOCK_CHMOD=555"}};
  const FileList files = ReleaseFiles();
  std::mt19937 random{20261207};
  std::set<std::string> releaseKeys = SeedPermissionFile(site.InRelease(".raidenftpd.acl"));
  std::set<std::string> sectionKeys = SeedPermissionFile(site.Section() + "/.raidenftpd.acl");
};

TEST_F(KilledRuns, ReleaseStaysWholeAndConverges) {
  if (e2e::UnderWine()) GTEST_SKIP() << "native runs only";
  support::WriteFile(site.InRelease(kSfvName), support::SfvText(files));
  const auto start = std::chrono::steady_clock::now();
  int rounds = 0, killed = 0;
  for (; rounds < kMaxRounds && std::chrono::steady_clock::now() - start < kTimeBudget; ++rounds) {
    std::vector<std::string> lines;
    std::vector<std::optional<double>> kills;
    const int runs = std::uniform_int_distribution<int>(1, 3)(random);
    for (int i = 0; i < runs; ++i) {
      lines.push_back(RandomUpload());
      kills.push_back(RandomKill());
    }
    for (int status : site.programs().RunTogether(lines, kills)) {
      EXPECT_TRUE(status == 0 || status == 137) << status;
      killed += status == 137;
    }
    ExpectWholeFiles();
    if (HasFailure()) break;
  }
  RecordProperty("rounds", rounds);
  RecordProperty("killed", killed);
  EXPECT_GT(killed, 0);

  // Whole runs afterwards finish the release.
  for (const auto& [name, content] : files) {
    ASSERT_EQ(site.Upload(name, content).exitStatus, 0);
    ExpectWholeFiles();
  }
  for (const std::string& entry : site.Tree()) {
    EXPECT_EQ(entry.find(".missing"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("] incomplete"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("SFV CHECK IN PROGRESS"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("Currently being SFV checked"), std::string::npos) << entry;
    EXPECT_EQ(entry.find(".corvane-"), std::string::npos) << entry;
  }
  EXPECT_TRUE(support::Exists(site.InRelease("[8 files] complete")));
}

}  // namespace
}  // namespace stress
