// A release uploaded by many users at once: the server starts a checker run
// for every finished upload, several for the same release at the same time.
// Whatever the order, the runs take turns and the release ends complete with
// exactly one of everything.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "permlet/aclfile/name_key.h"
#include "tests/e2e/site.h"
#include "tests/stress/release_state.h"

namespace stress {
namespace {

using e2e::FileList;
using Tree = std::vector<std::string>;

constexpr std::size_t kFileCount = 32;
constexpr std::size_t kRunsAtOnce = 8;
const std::string kSfvName = "rel.sfv";

FileList ReleaseFiles() {
  FileList files;
  for (std::size_t i = 0; i < kFileCount; ++i) {
    files.push_back({"rel.r" + std::to_string(100 + i),
                     "part " + std::to_string(i) + std::string(i * 37 % 500, 'x')});
  }
  return files;
}

std::string KeyOf(const std::string& name) { return std::to_string(permlet::NameKey(name)); }

class ConcurrentUploads : public ::testing::TestWithParam<unsigned> {};

TEST_P(ConcurrentUploads, ReleaseConvergesWhateverTheOrder) {
  if (e2e::UnderWine()) GTEST_SKIP() << "native runs only";
  e2e::Site site({"ISSERVG6=False"});
  const FileList files = ReleaseFiles();
  // Every upload, the SFV among them, in the seed's order.
  std::vector<std::string> order = {kSfvName};
  for (const auto& [name, content] : files) order.push_back(name);
  std::mt19937 random(GetParam());
  std::shuffle(order.begin(), order.end(), random);

  std::vector<std::string> markersMade;
  bool sfvUploaded = false;
  for (std::size_t start = 0; start < order.size(); start += kRunsAtOnce) {
    const std::size_t end = std::min(start + kRunsAtOnce, order.size());
    // The files of a batch are all on disk when its runs start.
    std::vector<std::string> lines;
    for (std::size_t i = start; i < end; ++i) {
      const auto file = std::find_if(files.begin(), files.end(),
                                     [&](const auto& f) { return f.first == order[i]; });
      support::WriteFile(site.InRelease(order[i]),
                         file == files.end() ? support::SfvText(files) : file->second);
      lines.push_back(e2e::UploadLine(site.InRelease(order[i]), "-u:bob -w:grp -l:100 -s:x"));
    }
    if (!sfvUploaded &&
        std::find(order.begin() + start, order.begin() + end, kSfvName) != order.begin() + end) {
      // The SFV's run finds absent exactly the files of the later batches.
      sfvUploaded = true;
      for (std::size_t i = end; i < order.size(); ++i) markersMade.push_back(order[i] + ".missing");
    }
    for (int status : site.programs().RunTogether(lines)) EXPECT_EQ(status, 0);
  }

  // One header, one parent entry, no markers, no run in progress, nothing else.
  Tree expected = {
      "(complete) Rel/",          "Rel/",           "Rel/.message", "Rel/.raidenftpd.acl",
      "Rel/[32 files] complete/", "Rel/" + kSfvName};
  for (const auto& [name, content] : files) expected.push_back("Rel/" + name);
  const bool storeKept = support::Exists(site.InRelease(".sfvStatus"));
  if (storeKept) expected.push_back("Rel/.sfvStatus");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(site.Tree(), expected);

  if (storeKept) ExpectWholeStatusStore(site.InRelease(".sfvStatus"), kFileCount);
  const std::set<std::string> keys = PermissionKeys(site.InRelease(".raidenftpd.acl"));
  std::vector<std::string> made = {".message", "[32 files] complete"};
  if (storeKept) made.push_back(".sfvStatus");
  made.insert(made.end(), markersMade.begin(), markersMade.end());
  for (const std::string& name : made) EXPECT_TRUE(keys.contains(KeyOf(name))) << name;
}

// A few orders in every test run; each takes a second or two.
INSTANTIATE_TEST_SUITE_P(Seeds, ConcurrentUploads, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
}  // namespace stress
