#include "permlet/aclfile/permission_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "common/strings.h"
#include "permlet/aclfile/record_numbers.h"
#include "permlet/aclfile/sec_file_system.h"
#include "permlet/aclfile/split_fields.h"

namespace permlet {

namespace {

constexpr std::string_view kLinePrefix = "RD2 ";

bool EndsWithSeparator(std::string_view directory) {
  return !directory.empty() && (directory.back() == '\\' || directory.back() == '/');
}

// The file as a text-mode read sees it: CR LF arrives as LF.
std::string TextModeRead(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
  }
  return text;
}

// The file as a text-mode write leaves it: every LF goes out as CR LF.
std::string TextModeWrite(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

// The record of an entry, or nothing when it would not read back as given:
// the reader splits fields at "|" and a line at "=", a CR or LF would end
// the line (or plant another in it), a NUL ends the server's texts, and a
// record longer than the format holds is cut.
std::optional<std::string> RecordFor(std::string_view owner, std::string_view group,
                                     std::string_view mode, int complete, int free) {
  constexpr std::string_view kForbidden("|=\r\n\0", 5);
  for (std::string_view field : {owner, group, mode}) {
    if (field.find_first_of(kForbidden) != std::string_view::npos) return std::nullopt;
  }
  std::string record;
  record.append(owner).append("|").append(group).append("|").append(mode).append("|");
  record += std::to_string(complete) + "|" + std::to_string(free) + "|";
  if (record.size() > PermissionFile::kMaxRecordLength) return std::nullopt;
  return record;
}

}  // namespace

PermissionFile::PermissionFile(platform::FileSystem& files, Saving saving)
    : saving_(saving), files_(files), tableLock_("lockaamap") {}

bool PermissionFile::AutoChoosePermFile(std::string_view directory) {
  if (saving_ == Saving::kKept) return ChooseKept(directory) == Choice::kLoaded;
  platform::NamedLockHold hold(tableLock_);
  return Choose(directory) == Choice::kLoaded;
}

PermissionFile::Choice PermissionFile::Choose(std::string_view directory) {
  if (directory.size() >= kMaxDirectoryLength) {
    statusText_ = "Source path too long (AutoChoosePermFile)";
    return Choice::kRefused;
  }
  // A path without a folder part names the permission file of the current
  // folder, never one of the root.
  permFilePath_ = std::string(directory);
  if (!directory.empty() && !EndsWithSeparator(directory)) permFilePath_ += platform::kSeparator;
  permFilePath_ += permFileName_;
  entries_.RemoveAll();
  savedSinceLoad_ = false;
  asRead_ = true;

  if (!files_.FileExists(permFilePath_)) return Choice::kNoFile;
  std::string bytes;
  try {
    bytes = files_.ReadWholeFile(permFilePath_);
  } catch (const platform::OsError& error) {
    readFailure_ = error.number();
    return Choice::kUnreadable;
  }
  Load(TextModeRead(bytes));
  statusText_ = "[permission] permission file loaded";
  return Choice::kLoaded;
}

PermissionFile::Choice PermissionFile::ChooseKept(std::string_view directory) {
  if (!keptDirectory_) {
    keptDirectory_ = std::string(directory);
    platform::NamedLockHold hold(tableLock_);
    keptChoice_ = Choose(directory);
  } else if (directory != *keptDirectory_) {
    return Choice::kRefused;
  } else if (keptChoice_ == Choice::kLoaded || keptChoice_ == Choice::kNoFile) {
    ReloadSaved();
  }
  return keptChoice_;
}

int PermissionFile::ChoiceFailure(Choice choice) const {
  if (choice == Choice::kRefused) return platform::kPathFileAccessError;
  if (choice == Choice::kUnreadable) return readFailure_;
  return 0;
}

void PermissionFile::Load(const std::string& text) {
  entries_.Reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  std::size_t at = 0;
  while (at < text.size()) {
    // One read: up to and including a line feed, at most kReadPieceLength.
    std::size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    if (end - at > kReadPieceLength) end = at + kReadPieceLength;
    const std::string_view piece = std::string_view(text).substr(at, end - at);
    at = end;

    if (piece.size() < kLinePrefix.size() ||
        !strings::EqualsIgnoreCase(piece.substr(0, kLinePrefix.size()), kLinePrefix))
      continue;
    const SplitFields parts(piece.substr(kLinePrefix.size()), '=');
    std::string record = parts.Field(1);
    if (!record.empty() && record.back() == '\n') record.pop_back();
    entries_.AddByKey(parts.Field(0), record);
  }
}

// What loading the last save gives: each line heads its chain, so every
// chain turns round. Only a map as read from the file holds records that a
// save leaves out (empty ones) or that its reload cuts (a line that has
// grown past one read, when the key is written in full); new records do not.
void PermissionFile::ReloadSaved() {
  if (!savedSinceLoad_) return;
  if (asRead_) {
    entries_.EditRecords([](std::uint32_t key, std::string& record) {
      const std::size_t kept =
          kReadPieceLength - kLinePrefix.size() - std::to_string(key).size() - 1;
      if (record.size() > kept) record.resize(kept);
      return !record.empty();
    });
    asRead_ = false;
  }
  entries_.TurnChains();
  savedSinceLoad_ = false;
  statusText_ = "[permission] permission file loaded";
}

void PermissionFile::Apply(const std::string& name, const std::string& record) {
  ReloadSaved();
  if (entries_.Lookup(name)) {
    entries_.Replace(name, record);
  } else {
    entries_.Add(name, record);
  }
  savedSinceLoad_ = true;
}

std::optional<PermEntry> PermissionFile::GetEntry(std::string_view fullPath) const {
  const std::string name = SECFileSystem::FileNamePart(fullPath);
  if (strings::EqualsIgnoreCase(name, permFileName_)) return PermEntry{"root", "root", "000", 1, 0};
  const std::optional<std::string> record = entries_.Lookup(strings::ToLower(name));
  if (!record) return std::nullopt;
  const SplitFields fields(*record, '|');
  return PermEntry{fields.Field(0), fields.Field(1), fields.Field(2),
                   LeadingInteger(fields.Field(3)), LeadingInteger(fields.Field(4))};
}

bool PermissionFile::GetEntryForName(std::string_view fileName) const {
  return strings::EqualsIgnoreCase(fileName, permFileName_) ||
         entries_.Lookup(strings::ToLower(fileName)).has_value();
}

int PermissionFile::SetEntry(std::string_view fullPath, std::string_view owner,
                             std::string_view group, std::string_view mode, int complete,
                             int free) {
  const std::optional<std::string> record = RecordFor(owner, group, mode, complete, free);
  if (!record) return platform::kInvalidArgument;
  const std::string directory = SECFileSystem::DirectoryPart(fullPath);
  const std::string name = strings::ToLower(SECFileSystem::FileNamePart(fullPath));
  if (saving_ == Saving::kKept) {
    const Choice choice = ChooseKept(directory);
    if (const int failure = ChoiceFailure(choice)) return failure;
    Apply(name, *record);
    kept_.push_back({name, *record});
    keptChoice_ = Choice::kLoaded;  // as the save would have left the folder
    return 0;
  }
  // A file that exists but cannot be read is left alone: writing the map
  // back would drop the entries that were not read.
  platform::NamedLockHold hold(tableLock_);
  if (const int failure = ChoiceFailure(Choose(directory))) return failure;
  Apply(name, *record);
  return Write();
}

int PermissionFile::SavePermFile() {
  platform::NamedLockHold hold(tableLock_);
  return Write();
}

int PermissionFile::SaveKeptChanges() {
  if (kept_.empty()) return 0;
  platform::NamedLockHold hold(tableLock_);
  if (const int failure = ChoiceFailure(Choose(*keptDirectory_))) return failure;
  for (const KeptChange& change : kept_) Apply(change.name, change.record);
  kept_.clear();
  return Write();
}

// Written beside and renamed over the old file, so that the server, or a
// process that dies while writing, never sees it half written; a failed write
// (a full disk among others) leaves the old file whole. Only where the system
// refuses the rename for good is the file rewritten in place: the new content
// was just written whole beside it, so the disk has room for it. (The server
// holding the file open is waited out or written past by the atomic write.)
int PermissionFile::Write() {
  if (permFilePath_.empty()) return 0;
  std::string text;
  entries_.VisitInTableOrder([&](std::uint32_t key, const std::string& record) {
    if (record.empty()) return;
    text.append(kLinePrefix).append(std::to_string(key)).append("=").append(record).append("\n");
  });
  const std::string bytes = TextModeWrite(text);
  try {
    try {
      files_.WriteFileAtomically(permFilePath_, bytes);
    } catch (const platform::ReplaceRefused&) {
      files_.WriteWholeFile(permFilePath_, bytes);
    }
  } catch (const platform::OsError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace permlet
