// Zip releases end to end: the real checker started once per uploaded
// archive, as the server starts it, against a real release folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/site.h"
#include "tests/unzip/zip_builder.h"

namespace ziptest {
namespace {

using support::ReadFile;
using Tree = std::vector<std::string>;

// Archive n of a set of three; each carries the set's description. A damaged
// one has a changed byte in its description.
std::string SetArchive(int n, const std::string& diz = "Some.Release [0x/03]\r\n",
                       bool damaged = false) {
  Archive archive =
      BuildZip({{.name = "FILE_ID.DIZ", .content = diz, .method = 0},
                {.name = "rel.r0" + std::to_string(n), .content = std::string(3000 * n, 'a' + n)}});
  if (damaged) archive.bytes[archive.dataOffsets[0]] ^= 0x40;
  return archive.bytes;
}

bool Has(const Tree& tree, const std::string& entry) {
  return std::find(tree.begin(), tree.end(), entry) != tree.end();
}

// A bad archive is counted bad and set aside (the site keeps it as .bad); once
// a sound copy arrives the set completes.
TEST(ZipReleaseRun, ArchivesUploadedOneByOneComplete) {
  e2e::Site site;
  ASSERT_EQ(site.Upload("rel1.zip", SetArchive(1)).exitStatus, 0);
  EXPECT_TRUE(Has(site.Tree(), "Rel/[1 of 3] incomplete/"));
  EXPECT_EQ(ReadFile(site.InRelease(".message")), "1 of 3 files good\r\n\r\n");
  const std::string damaged = SetArchive(2, "Some.Release [0x/03]\r\n", true);
  ASSERT_EQ(site.Upload("rel2.zip", damaged).exitStatus, 0);
  EXPECT_TRUE(Has(site.Tree(), "Rel/[1 of 3] incomplete/"));
  EXPECT_EQ(ReadFile(site.InRelease("rel2.zip.bad")), damaged);

  ASSERT_EQ(site.Upload("rel2.zip", SetArchive(2)).exitStatus, 0);
  ASSERT_EQ(site.Upload("rel3.zip", SetArchive(3)).exitStatus, 0);
  EXPECT_EQ(site.Tree(), (Tree{"(complete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus",
                               "Rel/[3 files] complete/", "Rel/file_id.diz", "Rel/rel1.zip",
                               "Rel/rel2.zip", "Rel/rel2.zip.bad", "Rel/rel3.zip"}));
  EXPECT_EQ(ReadFile(site.InRelease("file_id.diz")), "Some.Release [0x/03]\r\n");
}

TEST(ZipReleaseRun, FileIdDizWithoutCountOnlyCleansUp) {
  e2e::Site site;
  EXPECT_EQ(site.Upload("rel1.zip", SetArchive(1, "no count in here\r\n")).exitStatus, 0);
  EXPECT_EQ(site.Tree(), (Tree{"Rel/", "Rel/.message", "Rel/file_id.diz", "Rel/rel1.zip"}));
  EXPECT_EQ(ReadFile(site.InRelease(".message")),
            "SFV currently being checked.\r\nPlease wait a minute for it to complete.\r\n");
}

}  // namespace
}  // namespace ziptest
