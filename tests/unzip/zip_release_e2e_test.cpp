// A zip release end to end, the checker started once per uploaded archive: a
// bad archive is set aside as .bad; once a sound copy arrives the set completes.
#include <gtest/gtest.h>

#include "tests/e2e/site.h"
#include "tests/unzip/zip_builder.h"

namespace ziptest {
namespace {

// Archive n of a set of three; a damaged one has a changed byte in its description.
std::string SetArchive(int n, bool damaged = false) {
  Archive archive =
      BuildZip({{.name = "FILE_ID.DIZ", .content = "Some.Release [0x/03]\r\n", .method = 0},
                {.name = "rel.r0" + std::to_string(n), .content = std::string(3000 * n, 'a' + n)}});
  if (damaged) archive.bytes[archive.dataOffsets[0]] ^= 0x40;
  return archive.bytes;
}

TEST(ZipReleaseRun, ArchivesUploadedOneByOneComplete) {
  e2e::Site site;
  ASSERT_EQ(site.Upload("rel1.zip", SetArchive(1)).exitStatus, 0);
  EXPECT_EQ(support::ReadFile(site.InRelease(".message")), "1 of 3 files good\r\n\r\n");
  ASSERT_EQ(site.Upload("rel2.zip", SetArchive(2, true)).exitStatus, 0);
  EXPECT_EQ(support::ReadFile(site.InRelease("rel2.zip.bad")), SetArchive(2, true));
  ASSERT_EQ(site.Upload("rel2.zip", SetArchive(2)).exitStatus, 0);
  ASSERT_EQ(site.Upload("rel3.zip", SetArchive(3)).exitStatus, 0);
  EXPECT_EQ(site.Tree(),
            (std::vector<std::string>{"(complete) Rel/", "Rel/", "Rel/.message", "Rel/.sfvStatus",
                                      "Rel/[3 files] complete/", "Rel/file_id.diz", "Rel/rel1.zip",
                                      "Rel/rel2.zip", "Rel/rel2.zip.bad", "Rel/rel3.zip"}));
}

}  // namespace
}  // namespace ziptest
