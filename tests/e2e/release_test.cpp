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

// A data file before its SFV, the other files in a shuffled order, a file
// uploaded again damaged, then one damaged on disk behind the checker's back.
TEST(Release, ShuffledUploadsEndComplete) {
  Site site;
  ASSERT_EQ(site.Upload("rel.r00", kFiles[0].second).exitStatus, 0);
  ASSERT_EQ(site.Upload("rel.sfv", SfvText(kFiles)).exitStatus, 0);
  const std::vector<std::size_t> order = {2, 3, 1};
  for (std::size_t n = 0; n < order.size(); ++n) {
    EXPECT_TRUE(Has(site.Tree(), "Rel/[" + std::to_string(n + 1) + " of 4] incomplete/"));
    ASSERT_EQ(site.Upload(kFiles[order[n]].first, kFiles[order[n]].second).exitStatus, 0);
  }
  EXPECT_EQ(site.Tree(), (Tree{"(complete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus",
                               "Rel/[4 files] complete/", "Rel/rel.nfo", "Rel/rel.r00",
                               "Rel/rel.r01", "Rel/rel.r02", "Rel/rel.sfv"}));

  ASSERT_EQ(site.Upload("rel.r00", "damaged").exitStatus, 0);
  EXPECT_TRUE(Has(site.Tree(), "Rel/rel.r00.bad"));
  EXPECT_TRUE(Has(site.Tree(), "Rel/[3 of 4] incomplete/"));

  // Only an operator's re-check, which reads every file again, sees this one.
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
  const std::string permissions = ReadFile(site.InRelease(".raidenftpd.acl"));
  auto count = [&](const std::string& entry) {
    std::size_t found = 0;
    for (std::size_t at = 0; (at = permissions.find(entry, at)) != std::string::npos; ++at) ++found;
    return found;
  };
  EXPECT_EQ(count("=bob|grp|554|0|0|"), 5u);
  EXPECT_EQ(count("=bob|grp|770|1|0|"), 1u);
  EXPECT_EQ(count("=bob|grp|555|1|0|"), 1u);
}

}  // namespace
}  // namespace e2e
