// The verification pass: every entry of the SFV found good, bad, missing,
// blank or unreadable, with the markers, moved bad files and counts that
// follow; and the completion step it shares with the zip test.
#include <cstdint>

#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "release/own_files.h"
#include "release/paths.h"
#include "release/removal.h"

namespace {

constexpr std::size_t kCrcDigits = 8;

// The calculator's value as the eight upper-case hexadecimal digits that SFV
// files list; an empty file has no value and gives 00000000.
std::string CrcText(std::optional<std::int32_t> value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto bits = static_cast<std::uint32_t>(value.value_or(0));
  std::string text(kCrcDigits, '0');
  for (std::size_t i = kCrcDigits; i-- > 0; bits >>= 4) text[i] = kDigits[bits & 0xF];
  return text;
}

std::string PadCrc(const std::string& text) {
  return text.size() >= kCrcDigits ? text : std::string(kCrcDigits - text.size(), '0') + text;
}

void Report(CheckRun& run, const char* outcome, const std::string& name) {
  run.resultReport.append(outcome).append(name).append("\r\n");
}

// The release's own files, which its SFV must not hand to the pass. The zip
// archives of a set listed in the SFV bring file_id.diz, which the checker
// takes out of the first of them.
release::OwnFiles OwnFilesOf(const CheckRun& run) {
  release::OwnFiles own;
  own.sfvName = strings::AfterLastSeparator(run.targetPath);
  own.messageFile = run.settings.MSGFILE;
  own.headerName = run.headerName;
  for (const SfvEntry& entry : run.sfvList) {
    if (strings::ContainsIgnoreCase(entry.fileName, ".zip")) own.zipSet = true;
  }
  return own;
}

// The pass over one list, with what it carries from entry to entry.
class Pass {
 public:
  explicit Pass(CheckRun& run)
      : run_(run),
        count_(run.sfvList.size()),
        own_(OwnFilesOf(run)),
        places_(run.files, run.releaseDir, ReleaseEntries(run)) {}

  void CheckEntry(std::size_t i) {
    const std::string& name = run_.sfvList[i - 1].fileName;
    // A name that leads out of the release, by its text or through a link, is
    // neither read nor given markers: it is not the release's own. Nor is one
    // of the files the checker and the server keep there.
    if (!release::StaysInRelease(name) || release::IsOwnFile(name, own_))
      return ReportUnreadable(name);
    const platform::PathPlace place = places_.Of(name);
    if (place == platform::PathPlace::kOutside) return ReportUnreadable(name);
    try {
      CheckListedFile(i, name, place == platform::PathPlace::kFileInside);
    } catch (const std::exception&) {
      ReportUnreadable(name);
    }
  }

 private:
  void ReportUnreadable(const std::string& name) {
    Report(run_, "IO ERROR: ", name);
    run_.counters.ioErrorFiles += 1;
  }

  void CheckListedFile(std::size_t i, const std::string& name, bool exists) {
    const std::string path = release::ListedFilePath(run_.releaseDir, name);
    const std::string& previous = run_.previousStatusFlags;
    if (exists && previous.size() == count_ && previous[i - 1] == '1' &&
        name != run_.uploadedName) {
      // Found good before: not read again, unless it is the file just
      // uploaded, which may have replaced the good one.
      Report(run_, "CRC OK  : ", name);
      run_.statusFlags += '1';
    } else if (!exists && !name.empty()) {
      Missing(name, path);
    } else if (name.empty()) {
      if (previous.empty()) run_.statusFlags += '0';
      run_.counters.blankEntries += 1;
    } else {
      std::string crc = FileCrc(i, name, path);
      if (strings::EndsWithIgnoreCase(name, "MP3")) run_.isMp3Release = true;
      if (strings::EqualsIgnoreCase(PadCrc(crc), run_.sfvList[i - 1].expectedCrc)) {
        Good(name, path);
      } else {
        Bad(name, path);
      }
    }
  }

  // The marker comes first: an entry whose marker fails is reported and
  // counted once, as unreadable, and never also as missing (which would make
  // the good-file count come out below the files actually good).
  void Missing(const std::string& name, const std::string& path) {
    const auto& settings = run_.settings;
    const std::string marker = path + ".missing";
    bool wanted = settings.CREATE_MISSING && !run_.files.FileExists(marker);
    if (settings.DONT_HAVE_BAD_AND_MISSING)
      wanted = wanted && !run_.files.FileExists(path + ".bad");
    if (wanted) run_.files.CreateEmptyFile(marker);
    SetPermissions(run_, kReleaseEntryMode, run_.userName, run_.groupName, marker, 0);
    Report(run_, "MISSING : ", name);
    run_.counters.missingFiles += 1;
    run_.statusFlags += '0';
  }

  // The uploaded file itself may be taken on the server's word; every other
  // file is read, and the time that takes feeds the estimate.
  std::string FileCrc(std::size_t i, const std::string& name, const std::string& path) {
    if (name == run_.uploadedName && run_.settings.DISABLE_INT_CRC) return run_.serverCrc;
    double start = platform::ElapsedSeconds();
    std::string crc = CrcText(run_.crc.CalculateFile(path));
    estimateSeconds_ += (platform::ElapsedSeconds() - start) * static_cast<double>(count_ - i);
    ShowEstimate(i);
    return crc;
  }

  void ShowEstimate(std::size_t i) {
    const float at = run_.settings.SHOW_ESTIMATION;
    if (run_.isDataUpload || static_cast<float>(i) != at) return;
    auto seconds = numtext::RoundToInt32(estimateSeconds_ / at);
    if (!seconds) throw RunError(platform::kOverflow);
    std::string folder = run_.releaseDir + platform::kSeparator +
                         "Estimated time until check completion - " +
                         numtext::FormatInteger(*seconds) + " seconds";
    if (!run_.files.FolderExists(folder)) run_.files.CreateFolder(folder);
    run_.estimateFolder = folder;
  }

  void Good(const std::string& name, const std::string& path) {
    run_.counters.runSizeKb += static_cast<double>(run_.files.FileLength(path)) / 1000;
    run_.counters.runGoodCount += 1;
    run_.statusFlags += '1';
    release::DeleteIfExists(run_.files, path + ".missing");
    release::DeleteIfExists(run_.files, path + ".bad");
    Report(run_, "CRC OK  : ", name);
  }

  // A file that is still being written (its CRC taken on the server's word)
  // has no verdict yet: it is unreadable, as reading it would have made it.
  void Bad(const std::string& name, const std::string& path) {
    if (!SetBadFileAside(run_, path, OlderBadFile::kAlwaysRemoved)) return ReportUnreadable(name);
    run_.statusFlags += '0';
    Report(run_, "CRC BAD : ", name);
    run_.counters.badFiles += 1;
  }

  CheckRun& run_;
  const std::size_t count_;
  const release::OwnFiles own_;
  const release::ListedFilePlaces places_;
  double estimateSeconds_ = 0;
};

}  // namespace

void VerifyRelease(CheckRun& run) {
  Pass pass(run);
  for (std::size_t i = 1; i <= run.sfvList.size(); ++i) pass.CheckEntry(i);
  CompleteRelease(run);
}

void CompleteRelease(CheckRun& run) {
  ReleaseCounters& counters = run.counters;
  const std::size_t entryCount = run.sfvList.size();
  counters.releaseSizeKb += static_cast<float>(counters.runSizeKb);
  counters.goodFiles = counters.totalFiles - counters.badFiles - counters.missingFiles -
                       counters.blankEntries - counters.ioErrorFiles;
  bool allGoodByStatus = run.isDataUpload && run.statusFlags.size() == entryCount &&
                         run.statusFlags.find('0') == std::string::npos;
  if (run.isZipUpload &&
      numtext::ParseLeadingNumber(run.statusFlags) == static_cast<double>(counters.totalFiles))
    allGoodByStatus = true;
  run.releaseComplete = counters.badFiles == 0 && counters.missingFiles == 0 &&
                        counters.blankEntries == 0 && counters.ioErrorFiles == 0 &&
                        counters.goodFiles == counters.totalFiles &&
                        (!run.isDataUpload || allGoodByStatus);
  if (run.statusFlags.empty() && run.previousStatusFlags.size() == entryCount)
    run.statusFlags = run.previousStatusFlags;
}
