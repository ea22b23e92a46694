// The verification pass over real release folders, with the failures of the
// file system that matter to it injected.
#include <gtest/gtest.h>

#include <functional>

#include "checker/run/phases.h"
#include "common/strings.h"
#include "settings/setting_keys.h"
#include "settings/setting_lines.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

using support::Crc32Text;

std::vector<std::string> Words(const std::string& text, const char* separator = " ") {
  std::vector<std::string> words = strings::Split(text, separator);
  std::erase(words, "");
  return words;
}

// One pass. `listed` names "file=content" (listed with the CRC of that
// content) or "file:CRC"; `present` the files in the release, "file=content";
// `settings` corvane.ini lines; the report's lines end with "|".
struct Pass {
  const char* name;
  std::string settings, listed, present, previousFlags, uploadedName;
  std::string report, flags, counts;  // good bad missing unreadable blank read-good-now
  bool complete;
  std::string tree;
  std::function<void(support::FaultyFileSystem&)> faults = nullptr;
};

TEST(VerifyRelease, JudgesEveryEntry) {
  // A bad a.r00 beside an older ".bad" (which goes in every case) and its
  // marker from when it was missing (which stays until the file is good).
  const std::string bad = "a.r00=bad a.r00.bad=older a.r00.missing= a.r01=second";
  const std::string changed = "a.r00=changed a.r01=second";
  const std::string two = "a.r00=first a.r01=second";
  const std::string badReport = "CRC BAD : a.r00|CRC OK  : a.r01|";
  const std::string goodReport = "CRC OK  : a.r00|CRC OK  : a.r01|";
  const std::string serverCrc = "DISABLE_INT_CRC=True HANDLE_BAD_FILES=1";
  const Pass passes[] = {
      {"all good", "", two, two, "", "", goodReport, "11", "2 0 0 0 0 2", true, "a.r00 a.r01"},
      {"missing gets a marker", "CREATE_MISSING=True", two, "a.r00=first", "", "",
       "CRC OK  : a.r00|MISSING : a.r01|", "10", "1 0 1 0 0 1", false, "a.r00 a.r01.missing"},
      {"arrival removes the marker", "CREATE_MISSING=True", two, two + " a.r01.missing=", "10", "",
       goodReport, "11", "2 0 0 0 0 1", true, "a.r00 a.r01"},
      {"bad file moved", "HANDLE_BAD_FILES=1", two, bad, "", "", badReport, "01", "1 1 0 0 0 1",
       false, "a.r00.bad a.r00.missing a.r01"},
      {"failed move leaves it", "HANDLE_BAD_FILES=1", two, bad, "", "", badReport, "01",
       "1 1 0 0 0 1", false, "a.r00 a.r00.missing a.r01",
       [](auto& files) { files.FailRenames("a.r00"); }},
      {"good before is not read again", "", two, changed, "10", "", goodReport, "11", "2 0 0 0 0 1",
       true, "a.r00 a.r01"},
      {"the upload is read again", "HANDLE_BAD_FILES=1", two, changed, "11", "a.r00", badReport,
       "01", "1 1 0 0 0 0", false, "a.r00.bad a.r01"},
      {"server CRC for the upload", serverCrc, "a.r00=changed", "a.r00=first", "", "a.r00",
       "CRC OK  : a.r00|", "1", "1 0 0 0 0 1", true, "a.r00"},
      // A read error, or a marker the full disk refuses: unreadable, counted
      // once (never also as missing), and the pass goes on.
      {"failing entries", "CREATE_MISSING=True", "a.r00=first b.r00=first c.r01=second",
       "a.r00=first c.r01=second", "", "", "IO ERROR: a.r00|IO ERROR: b.r00|CRC OK  : c.r01|", "1",
       "1 0 0 2 0 1", false, "a.r00 c.r01",
       [](auto& files) {
         files.FailRead(1, "a.r00");
         files.FillDisk("b.r00.missing");
       }},
      {"subfolders", "", "Sub/a.r00=first Sub\\a.r01=second", "Sub/a.r00=first Sub/a.r01=second",
       "", "", "CRC OK  : Sub/a.r00|CRC OK  : Sub\\a.r01|", "11", "2 0 0 0 0 2", true,
       "Sub/ Sub/a.r00 Sub/a.r01"},
      // Nothing read: the flags of the run before stay.
      {"none readable", "", "../a.r00:1 ../b.r00:2", "", "10", "",
       "IO ERROR: ../a.r00|IO ERROR: ../b.r00|", "10", "0 0 0 2 0 0", false, ""},
  };
  for (const Pass& pass : passes) {
    SCOPED_TRACE(pass.name);
    support::TempFolder release;
    for (const std::string& file : Words(pass.present)) {
      const std::size_t equals = file.find('=');
      support::WriteFile(release / file.substr(0, equals), file.substr(equals + 1));
    }
    support::FaultyFileSystem files;
    if (pass.faults) pass.faults(files);
    support::RunUnderTest test(files);
    test.settings.ISSERVG6 = true;
    for (const std::string& line : Words(pass.settings)) {
      const auto setting = settings::SplitSettingLine(line);
      ASSERT_TRUE(settings::ApplySetting(test.settings, *settings::FindSettingKey(setting->key),
                                         setting->value));
    }
    CheckRun& run = test.run;
    for (const std::string& entry : Words(pass.listed)) {
      const std::size_t at = entry.find_first_of("=:");
      const std::string after = entry.substr(at + 1);
      run.sfvList.push_back({entry[at] == '=' ? Crc32Text(after) : after, entry.substr(0, at)});
    }
    run.releaseDir = release.path();
    run.isDataUpload = true;
    run.counters.totalFiles = static_cast<float>(run.sfvList.size());
    run.previousStatusFlags = pass.previousFlags;
    run.uploadedName = pass.uploadedName;
    if (!pass.uploadedName.empty()) run.serverCrc = Crc32Text("changed");
    VerifyRelease(run);
    std::string report;
    for (const std::string& line : Words(pass.report, "|")) report += line + "\r\n";
    EXPECT_EQ(run.resultReport, report);
    EXPECT_EQ(run.statusFlags, pass.flags);
    std::vector<float> counts;
    for (const std::string& count : Words(pass.counts)) counts.push_back(std::stof(count));
    const ReleaseCounters& c = run.counters;
    EXPECT_EQ((std::vector<float>{c.goodFiles, c.badFiles, c.missingFiles, c.ioErrorFiles,
                                  c.blankEntries, c.runGoodCount}),
              counts);
    EXPECT_EQ(run.releaseComplete, pass.complete);
    EXPECT_EQ(support::ListTree(release.path()), Words(pass.tree));
  }
}

}  // namespace
