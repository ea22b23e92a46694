#include <utility>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "release/paths.h"

namespace {

// Positions are 1-based, 0 meaning "not found", as the classic string
// functions that the line's rules are made of count them.

// Position of the first `what` at or after position `from` (letter case
// ignored), or 0.
std::size_t Find(std::string_view text, std::string_view what, std::size_t from) {
  std::size_t found = strings::FindIgnoreCase(text, what, from - 1);
  return found == std::string_view::npos ? 0 : found + 1;
}

// The `count` characters from position `from`: empty past the end; a negative
// count is an error.
std::string Mid(std::string_view text, std::size_t from, std::ptrdiff_t count) {
  if (count < 0) throw RunError(platform::kInvalidArgument);
  if (from > text.size()) return {};
  return std::string(text.substr(from - 1, static_cast<std::size_t>(count)));
}

std::ptrdiff_t Distance(std::size_t to, std::size_t from) {
  return static_cast<std::ptrdiff_t>(to) - static_cast<std::ptrdiff_t>(from);
}

// An option's value from behind its letter to the next `end`. An option the
// server did not pass has an empty value; one that ends the line runs to its
// end (a hook line without "-s:" must not fail every run).
std::string OptionValue(const std::string& line, std::string_view option, std::string_view end) {
  std::size_t at = Find(line, option, 1);
  if (at == 0) return {};
  std::size_t stop = Find(line, end, at + 1);
  if (stop == 0) return line.substr(at + 2);
  return Mid(line, at + 3, Distance(stop, at) - 3);
}

// The genre runs to the end of the line; the server pads it, so it ends at the
// first two consecutive spaces when there are any.
std::string GenreValue(const std::string& line) {
  std::size_t at = Find(line, "-g:", 1);
  if (at == 0) return {};
  std::string genre = strings::RemoveAll(std::string_view(line).substr(at + 2), '/');
  std::size_t padding = Find(genre, "  ", 1);
  return padding == 0 ? genre : genre.substr(0, padding - 1);
}

float LValue(const std::string& line) {
  if (Find(line, "-l:", 1) == 0) return 0;
  auto number = numtext::ParseSingle(OptionValue(line, "-l:", " -"));
  if (!number) throw RunError(platform::kTypeMismatch);
  return *number;
}

void ReadOptions(CheckRun& run) {
  const std::string& line = run.targetPath;
  run.lTotal = LValue(line);
  run.groupName = OptionValue(line, "-w:", " -");
  run.id3Year = OptionValue(line, "-y:", " -");
  run.bValue = strings::RemoveAll(OptionValue(line, "-b:", " "), '/');
  run.id3Genre = GenreValue(line);
  if (run.id3Genre.empty()) run.id3Genre = kNoId3Genre;
  // A server that passes no year leaves it empty: that counts as no year too,
  // so a year kept in the status store is taken up.
  if (run.id3Year.empty() || run.id3Year == "0000" || run.id3Year == "    ")
    run.id3Year = kNoId3Year;
}

}  // namespace

void ParseCommandLine(CheckRun& run) {
  std::string& line = run.targetPath;
  line = strings::ReplaceAll(line, " " + run.settings.SITECMD + " ", platform::kSeparatorText);
  line = strings::RemoveAll(line, '"');

  std::size_t user = Find(line, "-u:", 1);
  if (user == 0) return;
  SetErrorContext(run, "Parsing parameters",
                  "Make sure you have set your parameters properly according to the manual");
  // The upload's folder is known before any option is read, so that a failing
  // option still leaves its error log in the release folder; but never a
  // folder that a step up in the upload's name points elsewhere.
  if (user >= 2) {
    std::string folder = strings::BeforeLastSeparator(line.substr(0, user - 2));
    if (!release::StepsUp(folder)) run.releaseDir = std::move(folder);
  }

  std::size_t end = Find(line, " -", user + 1);
  if (end == 0) {
    run.userName = line.substr(user + 2);  // the last option: no other is read
  } else {
    run.userName = Mid(line, user + 3, Distance(end, user) - 3);
    ReadOptions(run);
  }
  // The per-user statistics keep these; loading the status store does not.
  run.statUserName = run.userName;
  run.statGroupName = run.groupName;
  run.statLValue = run.lTotal;

  line = Mid(line, 1, static_cast<std::ptrdiff_t>(user) - 2);
}

bool TakeServerCrc(CheckRun& run) {
  std::string& path = run.targetPath;
  if (path.empty()) return false;
  if (!run.files.FileExists(path)) {
    // Not a file: the server's CRC follows the path after one space.
    constexpr std::size_t kCrcPart = 9;
    if (path.size() < kCrcPart || !run.files.FileExists(path.substr(0, path.size() - kCrcPart)))
      return false;
    SetErrorContext(run, "Checking to see if CRC was sent to corvane by raidenftpd",
                    "double-check to make sure your parameters are set properly in your "
                    "*.ftpd/sitecmd.ini\r\n"
                    R"(They should be onFileUploaded=file://C:\Progra~1\RaidenFTPd\scripting\)"
                    R"(corvane.exe %^\%= %> -u:%S -l:%V -s:%M)");
    run.serverCrc = strings::ToUpper(path.substr(path.size() - 8));
    path.resize(path.size() - kCrcPart);
    if (strings::EndsWithIgnoreCase(path, "MP3")) run.isMp3Release = true;
  }
  run.crc.Algorithm(1);
  run.releaseDir = strings::BeforeLastSeparator(path);
  // An upload without a folder (a bare name, or a file in the root) has no
  // release folder to work in: nothing is done for it. Nor for a path that
  // steps up a folder: the server passes none, but the doubled-blank rule of
  // the option parsing turns names that users chose into separators.
  if (run.releaseDir.empty() || release::StepsUp(path)) return false;
  SetErrorContext(run, "Loading settings from file",
                  "Check your corvane.ini for lines that contain nothing but an equal sign (=) "
                  "and remove them");
  return true;
}
