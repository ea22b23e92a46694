#include "checker/run/verify.h"

#include <cstdint>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/platform.h"

namespace {

constexpr std::size_t kCrcDigits = 8;
constexpr const char* kGoodMode = "554";

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
  run.resultReport += outcome + name + "\r\n";
}

void DeleteIfExists(const std::string& path) {
  if (platform::FileExists(path)) platform::DeleteFile(path, false);
}

// The pass over one list, with what it carries from entry to entry.
class Pass {
 public:
  explicit Pass(CheckRun& run) : run_(run), count_(run.sfvList.size()) {}

  void CheckEntry(std::size_t i) {
    const std::string& name = run_.sfvList[i - 1].fileName;
    if (!StaysInRelease(name) || LinkedOutside(name)) return ReportUnreadable(name);
    try {
      CheckListedFile(i, name);
    } catch (const std::exception&) {
      ReportUnreadable(name);
    }
  }

 private:
  // A listed file, or the folder it lies in, that a link carries out of the
  // release is neither read nor given markers: it is not the release's own.
  bool LinkedOutside(const std::string& name) const {
    const std::string path = ListedFilePath(run_, name);
    if (platform::LeadsOutside(run_.releaseDir, path)) return true;
    // A name without a folder part lies in the release folder itself.
    const bool inSubfolder = name.find_first_of("/\\") != std::string::npos;
    return inSubfolder &&
           platform::LeadsOutside(run_.releaseDir, strings::BeforeLastSeparator(path));
  }

  void ReportUnreadable(const std::string& name) {
    Report(run_, "IO ERROR: ", name);
    run_.counters.ioErrorFiles += 1;
  }

  void CheckListedFile(std::size_t i, const std::string& name) {
    const std::string path = ListedFilePath(run_, name);
    const bool exists = platform::FileExists(path);
    const std::string& previous = run_.previousStatusFlags;
    if (exists && previous.size() == count_ && previous[i - 1] == '1') {
      // Found good before: not read again.
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
    bool wanted = settings.CREATE_MISSING && !platform::FileExists(marker);
    if (settings.DONT_HAVE_BAD_AND_MISSING) wanted = wanted && !platform::FileExists(path + ".bad");
    if (wanted) platform::CreateEmptyFile(marker);
    SetPermissions(run_, kGoodMode, run_.userName, run_.groupName, marker, 0);
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
    if (!platform::FolderExists(folder)) platform::CreateFolder(folder);
    run_.estimateFolder = folder;
  }

  void Good(const std::string& name, const std::string& path) {
    run_.counters.runSizeKb += static_cast<double>(platform::FileLength(path)) / 1000;
    run_.counters.runGoodCount += 1;
    run_.statusFlags += '1';
    DeleteIfExists(path + ".missing");
    DeleteIfExists(path + ".bad");
    Report(run_, "CRC OK  : ", name);
  }

  // The bad-file actions ignore their failures one by one.
  void Bad(const std::string& name, const std::string& path) {
    run_.statusFlags += '0';
    const std::string moved = path + ".bad";
    IgnoreFailure([&] { DeleteIfExists(moved); });
    if (run_.settings.HANDLE_BAD_FILES == 1) {
      IgnoreFailure([&] { platform::MoveFile(path, moved); });
      IgnoreFailure(
          [&] { SetPermissions(run_, kGoodMode, run_.userName, run_.groupName, moved, 0); });
    } else if (run_.settings.HANDLE_BAD_FILES == 2) {
      IgnoreFailure([&] { DeleteIfExists(moved); });
      IgnoreFailure([&] { platform::DeleteFile(path, false); });
    }
    Report(run_, "CRC BAD : ", name);
    run_.counters.badFiles += 1;
  }

  CheckRun& run_;
  const std::size_t count_;
  double estimateSeconds_ = 0;
};

bool IsDotsOnly(const std::string& part) {
  return part.size() >= 2 && part.find_first_not_of('.') == std::string::npos;
}

}  // namespace

bool StepsUp(const std::string& path) {
  for (const std::string& part : strings::Split(strings::ReplaceAll(path, "\\", "/"), "/")) {
    if (IsDotsOnly(part)) return true;
  }
  return false;
}

bool StaysInRelease(const std::string& fileName) {
  if (!fileName.empty() && (fileName[0] == '\\' || fileName[0] == '/')) return false;
  // A colon names a drive or a stream of another file.
  return fileName.find(':') == std::string::npos && !StepsUp(fileName);
}

std::string ListedFilePath(const CheckRun& run, const std::string& fileName) {
  return run.releaseDir + platform::kSeparator +
         strings::ReplaceAll(fileName, "\\", platform::kSeparatorText);
}

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
