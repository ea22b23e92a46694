#include "checker/run/verify.h"

#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/e2e/harness.h"

namespace {

class Verification : public ::testing::Test {
 protected:
  Verification() {
    e2e::MakeFolder(release);
    run.releaseDir = release;
    run.settings.ISSERVG6 = true;
    run.isDataUpload = true;
  }
  // Lists a file with the CRC of `content`, and puts it in place unless absent.
  void List(const std::string& name, const std::string& content, bool present = true) {
    run.sfvList.push_back({e2e::Crc32Text(content), name});
    run.counters.totalFiles += 1;
    if (present) e2e::WriteFile(release + "/" + name, content);
  }
  std::vector<std::string> Tree() { return e2e::ListTree(release); }
  // A run for the next upload into the same release.
  CheckRun NextRun() const {
    CheckRun next;
    next.releaseDir = release;
    next.settings = run.settings;
    next.isDataUpload = run.isDataUpload;
    next.sfvList = run.sfvList;
    next.counters.totalFiles = run.counters.totalFiles;
    return next;
  }

  e2e::TempFolder temp;
  const std::string release = temp / "Rel";
  CheckRun run;
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
  e2e::WriteFile(release + "/empty.r00", "");
  e2e::WriteFile(release + "/digits.r01", "123456789");
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "11");
}

TEST_F(Verification, ShortExpectedCrcIsBad) {
  run.sfvList = {{"CBF4392", "digits.r01"}};
  run.counters.totalFiles = 1;
  e2e::WriteFile(release + "/digits.r01", "123456789");
  VerifyRelease(run);
  EXPECT_EQ(run.resultReport, "CRC BAD : digits.r01\r\n");
}

TEST_F(Verification, MissingFileGetsMarkerUntilItArrives) {
  run.settings.CREATE_MISSING = true;
  List("a.r00", "first");
  List("a.r01", "second", false);
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "10");
  EXPECT_EQ(run.resultReport, "CRC OK  : a.r00\r\nMISSING : a.r01\r\n");
  EXPECT_FLOAT_EQ(run.counters.missingFiles, 1);
  EXPECT_FALSE(run.releaseComplete);
  EXPECT_EQ(Tree(), (std::vector<std::string>{"a.r00", "a.r01.missing"}));

  CheckRun next = NextRun();
  next.previousStatusFlags = run.statusFlags;
  e2e::WriteFile(release + "/a.r01", "second");
  VerifyRelease(next);
  EXPECT_EQ(next.resultReport, "CRC OK  : a.r00\r\nCRC OK  : a.r01\r\n");
  EXPECT_TRUE(next.releaseComplete);
  EXPECT_EQ(e2e::ListTree(release), (std::vector<std::string>{"a.r00", "a.r01"}));
}

TEST_F(Verification, NoMarkerBesideMovedBadFileWhenAsked) {
  run.settings.CREATE_MISSING = true;
  run.settings.DONT_HAVE_BAD_AND_MISSING = true;
  List("a.r00", "first", false);
  e2e::WriteFile(release + "/a.r00.bad", "broken");
  VerifyRelease(run);
  EXPECT_EQ(Tree(), std::vector<std::string>{"a.r00.bad"});
}

TEST(BadFiles, HandledAsConfigured) {
  const std::vector<std::vector<std::string>> expected = {
      {"a.r00", "a.r01"}, {"a.r00.bad", "a.r01"}, {"a.r01"}};
  for (std::int16_t handling : {0, 1, 2}) {
    SCOPED_TRACE(handling);
    e2e::TempFolder release;
    CheckRun run;
    run.releaseDir = release.path();
    run.settings.ISSERVG6 = true;
    run.settings.HANDLE_BAD_FILES = handling;
    run.isDataUpload = true;
    run.sfvList = {{e2e::Crc32Text("good"), "a.r00"}, {e2e::Crc32Text("good"), "a.r01"}};
    run.counters.totalFiles = 2;
    e2e::WriteFile(release / "a.r00", "bad");
    e2e::WriteFile(release / "a.r00.bad", "older");
    e2e::WriteFile(release / "a.r01", "good");
    VerifyRelease(run);
    EXPECT_EQ(run.statusFlags, "01");
    EXPECT_EQ(run.resultReport, "CRC BAD : a.r00\r\nCRC OK  : a.r01\r\n");
    EXPECT_FLOAT_EQ(run.counters.badFiles, 1);
    EXPECT_EQ(e2e::ListTree(release.path()), expected[static_cast<std::size_t>(handling)]);
    if (handling == 1) {
      EXPECT_EQ(e2e::ReadFile(release / "a.r00.bad"), "bad");
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
  e2e::WriteFile(release + "/a.r00", "changed behind the checker's back");
  run.previousStatusFlags = "10";
  VerifyRelease(run);
  EXPECT_EQ(run.resultReport, "CRC OK  : a.r00\r\nCRC OK  : a.r01\r\n");
  EXPECT_FLOAT_EQ(run.counters.runGoodCount, 1);

  CheckRun longer = NextRun();
  longer.previousStatusFlags = "111";  // another list: everything is read
  VerifyRelease(longer);
  EXPECT_EQ(longer.statusFlags, "01");
}

TEST_F(Verification, ServerCrcTrustedOnlyForTheExactUploadedName) {
  run.settings.DISABLE_INT_CRC = true;
  List("a.r00", "first");
  e2e::WriteFile(release + "/a.r00", "not what the server saw");
  run.uploadedName = "a.r00";
  run.serverCrc = e2e::Crc32Text("first");
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "1");

  CheckRun other = NextRun();
  other.uploadedName = "A.R00";
  other.serverCrc = run.serverCrc;
  VerifyRelease(other);
  EXPECT_EQ(other.statusFlags, "0");
}

TEST_F(Verification, FailingEntryIsUnreadableAndThePassGoesOn) {
  run.settings.CREATE_MISSING = true;
  List("nofolder/a.r00", "first", false);  // its marker cannot be made
  List("a.r01", "second");
  VerifyRelease(run);
  EXPECT_EQ(run.resultReport, "IO ERROR: nofolder/a.r00\r\nCRC OK  : a.r01\r\n");
  // Counted once: the good count stays the one file that is good.
  EXPECT_FLOAT_EQ(run.counters.ioErrorFiles, 1);
  EXPECT_FLOAT_EQ(run.counters.missingFiles, 0);
  EXPECT_FLOAT_EQ(run.counters.goodFiles, 1);
  EXPECT_FALSE(run.releaseComplete);
}

TEST_F(Verification, HostileNamesTouchNothingOutside) {
  run.settings.CREATE_MISSING = true;
  run.settings.HANDLE_BAD_FILES = 2;
  e2e::WriteFile(temp / "victim.txt", "precious");
  for (const std::string& name : std::vector<std::string>{
           "../victim.txt", "..\\victim.txt", "sub/../../victim.txt", temp / "victim.txt",
           "\\victim.txt", "C:\\victim.txt", "C:victim.txt", ".../victim.txt", "../gone.r00"}) {
    run.sfvList.push_back({"00000000", name});
    run.counters.totalFiles += 1;
  }
  VerifyRelease(run);
  EXPECT_FLOAT_EQ(run.counters.ioErrorFiles, 9);
  EXPECT_EQ(run.statusFlags, "");
  EXPECT_EQ(e2e::ReadFile(temp / "victim.txt"), "precious");
  EXPECT_EQ(e2e::ListTree(temp.path()), (std::vector<std::string>{"Rel/", "victim.txt"}));
}

TEST_F(Verification, SubfolderNamesStayAllowed) {
  List("Sub/a.r00", "first");
  run.sfvList.push_back({e2e::Crc32Text("second"), "Sub\\a.r01"});
  run.counters.totalFiles += 1;
  e2e::WriteFile(release + "/Sub/a.r01", "second");
  VerifyRelease(run);
  EXPECT_EQ(run.statusFlags, "11");
  EXPECT_TRUE(StaysInRelease("CD1\\a..b.r00"));
  EXPECT_FALSE(StaysInRelease("CD1\\..\\..\\x"));
}

TEST_F(Verification, EstimateFolderOnlyForSfvUploads) {
  run.settings.SHOW_ESTIMATION = 2;
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
  EXPECT_TRUE(e2e::Exists(sfvUpload.estimateFolder));
  EXPECT_TRUE(sfvUpload.releaseComplete);
}

TEST(CompleteRelease, ZipCountAndKeptStatus) {
  CheckRun zip;
  zip.isZipUpload = zip.isDataUpload = true;
  zip.counters.totalFiles = 3;
  zip.statusFlags = "3";
  CompleteRelease(zip);
  EXPECT_TRUE(zip.releaseComplete);

  CheckRun failed;
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
