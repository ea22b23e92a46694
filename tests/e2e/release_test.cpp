// Releases checked upload by upload, as the server starts the checker.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/site.h"

namespace e2e {

using support::ReadFile;
using support::SfvText;
using support::WriteFile;
namespace {

using Tree = std::vector<std::string>;

const FileList kFiles = {
    {"rel.r00", "first part of the release"},
    {"rel.r01", "second part"},
    {"rel.r02", "third part, a bit longer than the others"},
    {"rel.nfo", ""},
};

bool Has(const Tree& tree, const std::string& entry) {
  return std::find(tree.begin(), tree.end(), entry) != tree.end();
}

// A data file before its SFV, the SFV twice, the other files in a shuffled
// order, then a file uploaded again damaged.
TEST(Release, ShuffledUploadsEndComplete) {
  Site site;
  ASSERT_EQ(site.Upload("rel.r00", kFiles[0].second).exitStatus, 0);
  for (int twice = 0; twice < 2; ++twice)
    ASSERT_EQ(site.Upload("rel.sfv", SfvText(kFiles)).exitStatus, 0);
  // The repeated SFV upload keeps flags, header and entry; the -l: sum holds
  // both uploads.
  std::string store = ReadFile(site.InRelease(".sfvStatus"));
  EXPECT_EQ(store.substr(0, store.find("\r\nFalse\r\n")),
            "1000\r\nbob\r\n[1 of 4] incomplete\r\n(incomplete) Rel\r\n200\r\n0.025");

  const std::vector<std::size_t> order = {2, 3, 1};
  for (std::size_t n = 0; n < order.size(); ++n) {
    Tree tree = site.Tree();
    for (std::size_t later = n; later < order.size(); ++later)
      EXPECT_TRUE(Has(tree, "Rel/" + kFiles[order[later]].first + ".missing"));
    EXPECT_TRUE(Has(tree, "Rel/[" + std::to_string(n + 1) + " of 4] incomplete/"));
    EXPECT_TRUE(Has(tree, "(incomplete) Rel/"));
    ASSERT_EQ(site.Upload(kFiles[order[n]].first, kFiles[order[n]].second).exitStatus, 0);
  }
  const Tree tree = site.Tree();
  EXPECT_EQ(tree, (Tree{"(complete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus",
                        "Rel/[4 files] complete/", "Rel/rel.nfo", "Rel/rel.r00", "Rel/rel.r01",
                        "Rel/rel.r02", "Rel/rel.sfv"}));
  // An operator's re-check of the intact release finds it complete as it is.
  EXPECT_EQ(site.RunLine("--recheck " + site.Release()).exitStatus, 0);
  EXPECT_EQ(site.Tree(), tree);

  ASSERT_EQ(site.Upload("rel.r00", "damaged").exitStatus, 0);
  EXPECT_EQ(site.Tree(), (Tree{"(incomplete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus",
                               "Rel/[3 of 4] incomplete/", "Rel/rel.nfo", "Rel/rel.r00.bad",
                               "Rel/rel.r01", "Rel/rel.r02", "Rel/rel.sfv"}));

  // A file damaged on disk, behind the checker's back: only an operator's
  // re-check, which reads every file again, sees it.
  WriteFile(site.InRelease("rel.r01"), "damaged on disk");
  const RunResult recheck = site.RunLine("--recheck " + site.Release());
  EXPECT_EQ(recheck.exitStatus, 1);
  EXPECT_NE(recheck.output.find(" 1 bad,"), std::string::npos) << recheck.output;
  EXPECT_TRUE(Has(site.Tree(), "Rel/[2 of 4] incomplete/"));
}

TEST(Release, PermissionsGoThroughTheControlOfAMovedProgramFolder) {
  if (UnderWine())
    GTEST_SKIP() << "on Windows the control is a COM object in the system registry "
                    "(tests/windows_com)";
  Site site(
      {"ISSERVG6=False", "CHMOD_SFVSTATUS=770", "CHMOD_SFVSTATUSU=%i", "CHMOD_SFVSTATUSG=%w"});
  // Registered where it was made; its registration moves with it.
  site.MovePrograms();
  ASSERT_EQ(site.Upload("rel.sfv", SfvText(kFiles)).exitStatus, 0);
  // One entry per marker and the header, then the status store and the
  // message file.
  std::string permissions = ReadFile(site.InRelease(".raidenftpd.acl"));
  auto count = [&](const std::string& entry) {
    std::size_t found = 0;
    for (std::size_t at = 0; (at = permissions.find(entry, at)) != std::string::npos; ++at) ++found;
    return found;
  };
  EXPECT_EQ(count("=bob|grp|554|0|0|"), 5u);
  EXPECT_EQ(count("=bob|grp|770|1|0|"), 1u);
  EXPECT_EQ(count("=bob|grp|555|1|0|"), 1u);
}

// A completing run of a large release changes some three hundred entries,
// and writes the release's permission file once, and its section's once.
TEST(Release, ACompletingRunSavesEachPermissionFileOnce) {
  if (UnderWine()) GTEST_SKIP() << "native runs only: a library preloaded into it counts saves";
  Site site({"ISSERVG6=False", "LOCK_FOLDER_IF_COMPLETE=True", "LOCK_FILES_IF_COMPLETE=True",
             "LOCK_USER=locker", "LOCK_GROUP=site", "LOCK_CHMOD=555"});
  FileList files;
  for (int i = 0; i < 300; ++i) files.push_back({"big." + std::to_string(1000 + i), "part"});
  for (const auto& [name, content] : files) WriteFile(site.InRelease(name), content);
  WriteFile(site.InRelease("big.sfv"), SfvText(files));

  const RunResult run = site.programs().RunLoggingRenames(UploadLine(site.InRelease("big.sfv")));
  ASSERT_EQ(run.exitStatus, 0);
  for (const std::string& acl :
       {site.InRelease(".raidenftpd.acl"), site.Section() + "/.raidenftpd.acl"})
    EXPECT_EQ(std::count(run.renamed.begin(), run.renamed.end(), acl), 1) << acl;
  const std::string permissions = ReadFile(site.InRelease(".raidenftpd.acl"));
  std::size_t locked = 0;
  for (std::size_t at = 0;
       (at = permissions.find("=locker|site|555|1|0|", at)) != std::string::npos; ++at)
    ++locked;
  EXPECT_GT(locked, files.size());  // the files, the SFV and the header
}

}  // namespace
}  // namespace e2e
