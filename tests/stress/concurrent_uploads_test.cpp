// A release uploaded by many users at once: the server starts a checker run
// for every finished upload, several for the same release at the same time.
// Whatever the order, the runs take turns and the release ends complete with
// exactly one of everything.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/e2e/site.h"
#include "tests/stress/release_state.h"

namespace stress {
namespace {

constexpr std::size_t kFileCount = 32;
constexpr std::size_t kRunsAtOnce = 8;

class ConcurrentUploads : public ::testing::TestWithParam<unsigned> {};

TEST_P(ConcurrentUploads, ReleaseConvergesWhateverTheOrder) {
  if (e2e::UnderWine()) GTEST_SKIP() << "native runs only";
  e2e::Site site({"ISSERVG6=False"});
  e2e::FileList files;
  for (std::size_t i = 0; i < kFileCount; ++i)
    files.push_back({"rel.r" + std::to_string(100 + i), "part " + std::string(i * 37 % 500, 'x')});
  // Every upload, the SFV among them, in the seed's order.
  std::vector<std::pair<std::string, std::string>> uploads = files;
  uploads.push_back({"rel.sfv", support::SfvText(files)});
  std::mt19937 random(GetParam());
  std::shuffle(uploads.begin(), uploads.end(), random);
  for (std::size_t start = 0; start < uploads.size(); start += kRunsAtOnce) {
    // The files of a batch are all on disk when its runs start.
    std::vector<std::string> lines;
    for (std::size_t i = start; i < std::min(start + kRunsAtOnce, uploads.size()); ++i) {
      support::WriteFile(site.InRelease(uploads[i].first), uploads[i].second);
      lines.push_back(e2e::UploadLine(site.InRelease(uploads[i].first)));
    }
    for (int status : site.programs().RunTogether(lines)) EXPECT_EQ(status, 0);
  }

  // One header, one parent entry, no markers, no run in progress, nothing else.
  std::vector<std::string> expected = {
      "(complete) Rel/",          "Rel/",       "Rel/.message", "Rel/.raidenftpd.acl",
      "Rel/[32 files] complete/", "Rel/rel.sfv"};
  for (const auto& [name, content] : files) expected.push_back("Rel/" + name);
  std::vector<std::string> made = {".message", "[32 files] complete"};
  if (support::Exists(site.InRelease(".sfvStatus"))) {
    expected.push_back("Rel/.sfvStatus");
    made.push_back(".sfvStatus");
    ExpectWholeStatusStore(site.InRelease(".sfvStatus"), kFileCount);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(site.Tree(), expected);
  const std::set<std::string> keys = PermissionKeys(site.InRelease(".raidenftpd.acl"));
  for (const std::string& name : made) EXPECT_TRUE(keys.contains(KeyOf(name))) << name;
}

// A few orders in every test run; each takes a second or two.
INSTANTIATE_TEST_SUITE_P(Seeds, ConcurrentUploads, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
}  // namespace stress
