// The verification pass over real release folders, with the failures of the
// file system that matter to it injected.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

using Tree = std::vector<std::string>;

class Verification : public ::testing::Test {
 protected:
  Verification() {
    support::MakeFolder(release);
    run.releaseDir = release;
    test.settings.ISSERVG6 = true;
    run.isDataUpload = true;
  }
  // Lists a file with the CRC of `content`, and puts it in place unless absent.
  void List(const std::string& name, const std::string& content, bool present = true) {
    run.sfvList.push_back({support::Crc32Text(content), name});
    run.counters.totalFiles += 1;
    if (present) support::WriteFile(release + "/" + name, content);
  }
  Tree ReleaseTree() const { return support::ListTree(release); }
  // A run for the next upload into the same release.
  CheckRun NextRun() {
    CheckRun next(test.settings, files, test.permissions);
    next.releaseDir = release;
    next.isDataUpload = run.isDataUpload;
    next.sfvList = run.sfvList;
    next.counters.totalFiles = run.counters.totalFiles;
    return next;
  }

  support::TempFolder temp;
  const std::string release = temp / "Rel";
  support::FaultyFileSystem files;
  support::RunUnderTest test{files};
  CheckRun& run = test.run;
};

TEST_F(Verification, AllGoodIsComplete) {
  List("a.r00", "first");
  List("a.r01", "second");
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "11");
  EXPECT_EQ(run.resultReport, "CRC OK  : a.r00\r\nCRC OK  : a.r01\r\n");
  EXPECT_FLOAT_EQ(run.counters.goodFiles, 2);
  EXPECT_FLOAT_EQ(run.counters.runGoodCount, 2);
  EXPECT_NEAR(run.counters.runSizeKb, 0.011, 1e-12);
  EXPECT_TRUE(run.releaseComplete);
}

TEST_F(Verification, CrcComparisonIgnoresCaseAndEmptyFileIsZero) {
  run.sfvList = {{"00000000", "empty.r00"}, {"cbf43926", "digits.r01"}};
  run.counters.totalFiles = 2;
  support::WriteFile(release + "/empty.r00", "");
  support::WriteFile(release + "/digits.r01", "123456789");
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "11");
}

TEST_F(Verification, ShortExpectedCrcIsBad) {
  run.sfvList = {{"CBF4392", "digits.r01"}};
  run.counters.totalFiles = 1;
  support::WriteFile(release + "/digits.r01", "123456789");
  VerifyRelease(run);
  EXPECT_EQ(run.resultReport, "CRC BAD : digits.r01\r\n");
}

TEST_F(Verification, MissingFileGetsMarkerUntilItArrives) {
  test.settings.CREATE_MISSING = true;
  List("a.r00", "first");
  List("a.r01", "second", false);
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "10");
  EXPECT_EQ(run.resultReport, "CRC OK  : a.r00\r\nMISSING : a.r01\r\n");
  EXPECT_FLOAT_EQ(run.counters.missingFiles, 1);
  EXPECT_FALSE(run.releaseComplete);
  EXPECT_EQ(ReleaseTree(), (Tree{"a.r00", "a.r01.missing"}));

  CheckRun next = NextRun();
  next.previousStatusFlags = run.statusFlags;
  support::WriteFile(release + "/a.r01", "second");
  VerifyRelease(next);
  EXPECT_EQ(next.resultReport, "CRC OK  : a.r00\r\nCRC OK  : a.r01\r\n");
  EXPECT_TRUE(next.releaseComplete);
  EXPECT_EQ(ReleaseTree(), (Tree{"a.r00", "a.r01"}));
}

TEST_F(Verification, NoMarkerBesideMovedBadFileWhenAsked) {
  test.settings.CREATE_MISSING = true;
  test.settings.DONT_HAVE_BAD_AND_MISSING = true;
  List("a.r00", "first", false);
  support::WriteFile(release + "/a.r00.bad", "broken");
  VerifyRelease(run);
  EXPECT_EQ(ReleaseTree(), Tree{"a.r00.bad"});
}

// An older ".bad" goes in every case; a failed rename leaves the bad file
// where it is.
TEST(BadFiles, HandledAsConfigured) {
  struct Row {
    std::int16_t handling;
    bool renameFails;
    Tree tree;
  };
  for (const Row& row : std::vector<Row>{{0, false, {"a.r00", "a.r01"}},
                                         {1, false, {"a.r00.bad", "a.r01"}},
                                         {2, false, {"a.r01"}},
                                         {1, true, {"a.r00", "a.r01"}}}) {
    SCOPED_TRACE(testing::Message() << row.handling << (row.renameFails ? ", rename fails" : ""));
    support::TempFolder release;
    support::FaultyFileSystem files;
    if (row.renameFails) files.FailRenames("a.r00");
    support::RunUnderTest test(files);
    CheckRun& run = test.run;
    run.releaseDir = release.path();
    test.settings.ISSERVG6 = true;
    test.settings.HANDLE_BAD_FILES = row.handling;
    run.isDataUpload = true;
    run.sfvList = {{support::Crc32Text("good"), "a.r00"}, {support::Crc32Text("good"), "a.r01"}};
    run.counters.totalFiles = 2;
    support::WriteFile(release / "a.r00", "bad");
    support::WriteFile(release / "a.r00.bad", "older");
    support::WriteFile(release / "a.r01", "good");
    VerifyRelease(run);
    EXPECT_EQ(run.statusFlags, "01");
    EXPECT_EQ(run.resultReport, "CRC BAD : a.r00\r\nCRC OK  : a.r01\r\n");
    EXPECT_FLOAT_EQ(run.counters.badFiles, 1);
    EXPECT_EQ(support::ListTree(release.path()), row.tree);
    if (row.tree.front() == "a.r00.bad") {
      EXPECT_EQ(support::ReadFile(release / "a.r00.bad"), "bad");
    }
  }
}

TEST_F(Verification, BlankEntryCountsButIsNotReported) {
  run.sfvList = {{"12345678", ""}};
  run.counters.totalFiles = 1;
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "0");
  EXPECT_EQ(run.resultReport, "");
  EXPECT_FLOAT_EQ(run.counters.blankEntries, 1);
  EXPECT_FALSE(run.releaseComplete);
}

TEST_F(Verification, FilesFoundGoodBeforeAreNotReadAgain) {
  List("a.r00", "first");
  List("a.r01", "second");
  support::WriteFile(release + "/a.r00", "changed behind the checker's back");
  run.previousStatusFlags = "10";
  VerifyRelease(run);
  EXPECT_EQ(run.resultReport, "CRC OK  : a.r00\r\nCRC OK  : a.r01\r\n");
  EXPECT_FLOAT_EQ(run.counters.runGoodCount, 1);

  CheckRun longer = NextRun();
  longer.previousStatusFlags = "111";  // another list: everything is read
  VerifyRelease(longer);
  EXPECT_EQ(longer.statusFlags, "01");

  // The file just uploaded may have replaced a good one: it is read.
  CheckRun reupload = NextRun();
  reupload.previousStatusFlags = "11";
  reupload.uploadedName = "a.r00";
  VerifyRelease(reupload);
  EXPECT_EQ(reupload.statusFlags, "01");
}

TEST_F(Verification, ServerCrcTrustedOnlyForTheExactUploadedName) {
  test.settings.DISABLE_INT_CRC = true;
  List("a.r00", "first");
  support::WriteFile(release + "/a.r00", "not what the server saw");
  run.uploadedName = "a.r00";
  run.serverCrc = support::Crc32Text("first");
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "1");

  CheckRun other = NextRun();
  other.uploadedName = "A.R00";
  other.serverCrc = run.serverCrc;
  VerifyRelease(other);
  EXPECT_EQ(other.statusFlags, "0");
}

// A read error during a file's CRC, or a marker the full disk refuses: the
// entry is unreadable, counted once (never also as missing), and the pass goes
// on with the next one.
TEST_F(Verification, FailingEntryIsUnreadableAndThePassGoesOn) {
  test.settings.CREATE_MISSING = true;
  files.FailRead(1, "a.r00");
  files.FillDisk("b.r00.missing");
  List("a.r00", "first");
  List("b.r00", "absent", false);
  List("c.r01", "second");
  VerifyRelease(run);
  EXPECT_EQ(run.resultReport, "IO ERROR: a.r00\r\nIO ERROR: b.r00\r\nCRC OK  : c.r01\r\n");
  EXPECT_FLOAT_EQ(run.counters.ioErrorFiles, 2);
  EXPECT_FLOAT_EQ(run.counters.missingFiles, 0);
  EXPECT_FLOAT_EQ(run.counters.goodFiles, 1);
  EXPECT_FALSE(run.releaseComplete);
}

TEST_F(Verification, SubfolderNamesStayAllowed) {
  List("Sub/a.r00", "first");
  run.sfvList.push_back({support::Crc32Text("second"), "Sub\\a.r01"});
  run.counters.totalFiles += 1;
  support::WriteFile(release + "/Sub/a.r01", "second");
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "11");
}

TEST_F(Verification, EstimateFolderOnlyForSfvUploads) {
  test.settings.SHOW_ESTIMATION = 2;
  List("a.r00", "1");
  List("a.r01", "2");
  List("a.r02", "3");
  VerifyRelease(run);
  EXPECT_EQ(run.estimateFolder, "");

  CheckRun sfvUpload = NextRun();
  sfvUpload.isDataUpload = false;
  VerifyRelease(sfvUpload);
  EXPECT_EQ(sfvUpload.estimateFolder,
            release + "/Estimated time until check completion - 0 seconds");
  EXPECT_TRUE(support::Exists(sfvUpload.estimateFolder));
  EXPECT_TRUE(sfvUpload.releaseComplete);
}

TEST(CompleteRelease, ZipCountAndKeptStatus) {
  support::RunUnderTest zipTest;
  CheckRun& zip = zipTest.run;
  zip.isZipUpload = zip.isDataUpload = true;
  zip.counters.totalFiles = 3;
  zip.statusFlags = "3";
  CompleteRelease(zip);
  EXPECT_TRUE(zip.releaseComplete);

  support::RunUnderTest failedTest;
  CheckRun& failed = failedTest.run;
  failed.sfvList = {{"1", "a"}, {"2", "b"}};
  failed.counters.totalFiles = 2;
  failed.counters.ioErrorFiles = 2;
  failed.previousStatusFlags = "10";
  CompleteRelease(failed);
  EXPECT_EQ(failed.statusFlags, "10");
  EXPECT_FLOAT_EQ(failed.counters.goodFiles, 0);
  EXPECT_FALSE(failed.releaseComplete);
}

}  // namespace
