// The zip release steps of a run: file_id.diz out of the archive, the count
// read from it, and the counting of good archives.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "platform/platform.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"
#include "tests/unzip/zip_builder.h"

namespace ziptest {
namespace {

using Tree = std::vector<std::string>;

std::string GoodArchive(const std::string& diz = "Rel [01/03]\r\n") {
  return BuildZip({{.name = "Rel/FILE_ID.DIZ", .content = diz, .method = 0},
                   {.name = "rel.r00", .content = std::string(4000, 'r')}})
      .bytes;
}

// A zip upload into the release folder Rel.
struct ZipUpload {
  ZipUpload() {
    support::MakeFolder(release);
    test.settings.ISSERVG6 = true;
    run.releaseDir = release;
    run.isZipUpload = run.isDataUpload = true;
  }
  void Upload(const std::string& name, const std::string& bytes) {
    run.targetPath = release + "/" + name;
    support::WriteFile(run.targetPath, bytes);
  }

  support::TempFolder temp;
  const std::string release = temp / "Rel";
  support::RunUnderTest test;
  CheckRun& run = test.run;
};

class ZipRelease : public ::testing::Test, public ZipUpload {};

TEST_F(ZipRelease, CountComesFromTheFirstBracketedNumber) {
  constexpr float kError = -1;  // the run ends with error 13
  const std::pair<const char*, float> rows[] = {
      {"[1/9]", 9},        {"[001/150]", 0},  // three digits are no count
      {"[01/00]", 0},      {"no count\nfor [x] / y\r\n[02/04] disk [05/06]\r\n", 4},
      {"[01/xx]", kError},
  };
  for (const auto& [diz, count] : rows) {
    SCOPED_TRACE(diz);
    support::WriteFile(release + "/file_id.diz", diz);
    run.counters.totalFiles = 0;
    try {
      EXPECT_EQ(ReadZipExpectedCount(run), count > 0);
      EXPECT_EQ(run.counters.totalFiles, count);
    } catch (const RunError& error) {
      EXPECT_EQ(count, kError);
      EXPECT_EQ(error.number(), platform::kTypeMismatch);
    }
  }
}

// Taken out of the first archive; a later archive leaves it as it is.
TEST_F(ZipRelease, FileIdDizIsTakenOutOnce) {
  Upload("rel1.zip", GoodArchive());
  EXPECT_TRUE(ExtractFileIdDiz(run));
  Upload("rel2.zip", GoodArchive("Other [01/09]"));
  EXPECT_TRUE(ExtractFileIdDiz(run));
  EXPECT_EQ(support::ReadFile(release + "/file_id.diz"), "Rel [01/03]\r\n");
  EXPECT_EQ(support::ListTree(release), (Tree{"file_id.diz", "rel1.zip", "rel2.zip"}));
}

TEST_F(ZipRelease, NoUsableFileIdDizEndsTheRun) {
  Archive damaged = BuildZip({{.name = "file_id.diz", .content = "[01/02]", .method = 0}});
  damaged.bytes[damaged.dataOffsets[0]] = 'X';
  const std::pair<const char*, std::string> archives[] = {
      {"without", BuildZip({{.name = "rel.r00", .content = "data"}}).bytes},
      {"damaged", damaged.bytes},
      {"too large",
       BuildZip({{.name = "file_id.diz", .content = std::string(3 << 20, ' ')}}).bytes},
  };
  for (const auto& [what, bytes] : archives) {
    SCOPED_TRACE(what);
    Upload("rel.zip", bytes);
    EXPECT_FALSE(ExtractFileIdDiz(run));
    EXPECT_EQ(support::ListTree(release), (Tree{"rel.zip"}));
  }
}

// The status text counts each good archive once and names it; a store of an
// older run holds the count alone.
TEST(ZipReleaseCount, GoodArchivesAreCountedOnceUntilComplete) {
  struct Row {
    std::string previous, upload;
    bool good;
    std::string flags;
    float missing;
    bool complete;
  };
  for (const Row& row : std::vector<Row>{
           {"", "rel1.zip", true, "1|rel1.zip", 2, false},
           {"1|rel1.zip", "REL1.ZIP", true, "1|rel1.zip", 2, false},
           {"2|rel1.zip|rel2.zip", "rel2.zip", false, "1|rel1.zip", 1, false},
           {"2", "rel3.zip", true, "3|rel3.zip", 0, true},
       }) {
    SCOPED_TRACE(row.previous + " + " + row.upload);
    ZipUpload zip;
    CheckRun& run = zip.run;
    run.counters.totalFiles = 3;
    run.previousStatusFlags = row.previous;
    const std::string archive = GoodArchive();
    zip.Upload(row.upload, row.good ? archive : "damaged");
    TestZipRelease(run);
    EXPECT_EQ(run.statusFlags, row.flags);
    EXPECT_EQ(run.counters.missingFiles, row.missing);
    EXPECT_EQ(run.releaseComplete, row.complete);
    // A good archive the text did not name yet counts for the uploader too.
    const bool counted = row.good && row.flags != row.previous;
    EXPECT_EQ(run.counters.runGoodCount, counted ? 1 : 0);
    EXPECT_DOUBLE_EQ(run.counters.runSizeKb, counted ? archive.size() / 1000.0 : 0);
  }
}

}  // namespace
}  // namespace ziptest
