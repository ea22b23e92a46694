// Zip releases end to end: the real checker started once per uploaded
// archive, as the server starts it, against a real release folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/site.h"
#include "tests/unzip/zip_builder.h"

namespace ziptest {
namespace {

using e2e::Site;
using support::ReadFile;
using Tree = std::vector<std::string>;

const std::string kWaitingMessage =
    "SFV currently being checked.\r\nPlease wait a minute for it to complete.\r\n";

// Archive n of a set of three; each carries the set's description. A
// damaged one has a changed byte in its description.
std::string SetArchive(int n, const std::string& diz = "Some.Release [0x/03]\r\n",
                       bool damaged = false) {
  Archive archive =
      BuildZip({{.name = "FILE_ID.DIZ", .content = diz, .method = 0},
                {.name = "rel.r0" + std::to_string(n), .content = std::string(3000 * n, 'a' + n)}});
  if (damaged) archive.bytes[archive.dataOffsets[0]] ^= 0x40;
  return archive.bytes;
}

std::string Damaged(int n) { return SetArchive(n, "Some.Release [0x/03]\r\n", true); }

bool Has(const Tree& tree, const std::string& entry) {
  return std::find(tree.begin(), tree.end(), entry) != tree.end();
}

TEST(ZipReleaseRun, ArchivesUploadedOneByOneComplete) {
  Site site;
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    ASSERT_EQ(site.Upload("rel" + std::to_string(n) + ".zip", SetArchive(n)).exitStatus, 0);
    Tree tree = site.Tree();
    EXPECT_TRUE(Has(tree, "Rel/file_id.diz"));
    for (const std::string& entry : tree) {
      EXPECT_EQ(entry.find("SFV CHECK IN PROGRESS"), std::string::npos) << entry;
    }
    if (n < 3) {
      EXPECT_TRUE(Has(tree, "Rel/[" + std::to_string(n) + " of 3] incomplete/"));
      EXPECT_TRUE(Has(tree, "(incomplete) Rel/"));
      EXPECT_EQ(ReadFile(site.InRelease(".message")),
                std::to_string(n) + " of 3 files good\r\n\r\n");
    }
  }
  EXPECT_EQ(site.Tree(), (Tree{"(complete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus",
                               "Rel/[3 files] complete/", "Rel/file_id.diz", "Rel/rel1.zip",
                               "Rel/rel2.zip", "Rel/rel3.zip"}));
  EXPECT_EQ(ReadFile(site.InRelease("file_id.diz")), "Some.Release [0x/03]\r\n");
}

// A bad archive is counted bad in its run and handled as HANDLE_BAD_FILES
// says; once a sound copy arrives the set completes.
class BadArchiveRun : public ::testing::TestWithParam<int> {};

TEST_P(BadArchiveRun, IsHandledAndReplaced) {
  const int handling = GetParam();
  Site site({"HANDLE_BAD_FILES=" + std::to_string(handling)});
  ASSERT_EQ(site.Upload("rel1.zip", SetArchive(1)).exitStatus, 0);
  support::WriteFile(site.InRelease("rel2.zip.bad"), "an older bad upload");
  ASSERT_EQ(site.Upload("rel2.zip", Damaged(2)).exitStatus, 0);

  Tree tree = site.Tree();
  // One good, one bad, one missing.
  EXPECT_TRUE(Has(tree, "Rel/[1 of 3] incomplete/"));
  EXPECT_EQ(Has(tree, "Rel/rel2.zip"), handling == 0);
  EXPECT_EQ(Has(tree, "Rel/rel2.zip.bad"), handling != 2);
  if (handling == 1) {
    EXPECT_EQ(ReadFile(site.InRelease("rel2.zip.bad")), Damaged(2));
  }

  ASSERT_EQ(site.Upload("rel2.zip", SetArchive(2)).exitStatus, 0);
  EXPECT_TRUE(Has(site.Tree(), "Rel/[2 of 3] incomplete/"));
  ASSERT_EQ(site.Upload("rel3.zip", SetArchive(3)).exitStatus, 0);
  tree = site.Tree();
  EXPECT_TRUE(Has(tree, "Rel/[3 files] complete/"));
  EXPECT_TRUE(Has(tree, "(complete) Rel/"));
}

INSTANTIATE_TEST_SUITE_P(HandleBadFiles, BadArchiveRun, ::testing::Values(0, 1, 2));

TEST(ZipReleaseRun, FirstArchiveWithoutFileIdDizCreatesNothing) {
  Site site;
  const std::string archive = BuildZip({{.name = "rel.r00", .content = "data"}}).bytes;
  EXPECT_EQ(site.Upload("rel1.zip", archive).exitStatus, 0);
  EXPECT_EQ(site.Tree(), (Tree{"Rel/", "Rel/rel1.zip"}));
  // A damaged first archive is no better.
  EXPECT_EQ(site.Upload("rel1.zip", Damaged(1)).exitStatus, 0);
  EXPECT_EQ(site.Tree(), (Tree{"Rel/", "Rel/rel1.zip"}));
}

TEST(ZipReleaseRun, FileIdDizWithoutCountOnlyCleansUp) {
  Site site;
  EXPECT_EQ(site.Upload("rel1.zip", SetArchive(1, "no count in here\r\n")).exitStatus, 0);
  EXPECT_EQ(site.Tree(), (Tree{"Rel/", "Rel/.message", "Rel/file_id.diz", "Rel/rel1.zip"}));
  EXPECT_EQ(ReadFile(site.InRelease(".message")), kWaitingMessage);
}

TEST(ZipReleaseRun, CountThatIsNoNumberLeavesTheErrorLog) {
  Site site;
  EXPECT_NE(site.Upload("rel1.zip", SetArchive(1, "[01/xx]\r\n")).exitStatus, 0);
  const std::string log = ReadFile(site.InRelease("errorlog.txt"));
  EXPECT_NE(log.find("Error Number: 13\r\n"), std::string::npos) << log;
  EXPECT_FALSE(Has(site.Tree(), "Rel/SFV CHECK IN PROGRESS - WAIT FOR RESULT/"));
}

}  // namespace
}  // namespace ziptest
