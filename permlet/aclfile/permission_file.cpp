#include "permlet/aclfile/permission_file.h"

#include <string>
#include <vector>

#include "common/strings.h"
#include "permlet/aclfile/record_numbers.h"
#include "permlet/aclfile/sec_file_system.h"
#include "permlet/aclfile/split_fields.h"
#include "platform/platform.h"

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

std::string FormatRecord(std::string_view owner, std::string_view group, std::string_view mode,
                         int complete, int free) {
  std::string record;
  record.append(owner).append("|").append(group).append("|").append(mode).append("|");
  return record + std::to_string(complete) + "|" + std::to_string(free) + "|";
}

// Whether a write of the file went through.
template <typename Write>
bool Written(Write write) {
  try {
    write();
    return true;
  } catch (const platform::OsError&) {
    return false;
  }
}

}  // namespace

bool PermissionFile::AutoChoosePermFile(std::string_view directory) {
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

  if (!files_.FileExists(permFilePath_)) return Choice::kNoFile;
  // Read under the table lock that every save holds: a control in another
  // process never reads a file half written, which it would then write back
  // without the entries it missed.
  std::string bytes;
  try {
    entries_.WhileTableLocked([&] { bytes = files_.ReadWholeFile(permFilePath_); });
  } catch (const platform::OsError&) {
    return Choice::kUnreadable;
  }
  Load(TextModeRead(bytes));
  statusText_ = "[permission] permission file loaded";
  return Choice::kLoaded;
}

void PermissionFile::Load(const std::string& text) {
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

void PermissionFile::SetEntry(std::string_view fullPath, std::string_view owner,
                              std::string_view group, std::string_view mode, int complete,
                              int free) {
  // A file that exists but cannot be read is left alone: writing the map
  // back would drop the entries that were not read.
  const Choice choice = Choose(SECFileSystem::DirectoryPart(fullPath));
  if (choice == Choice::kRefused || choice == Choice::kUnreadable) return;
  const std::string record = FormatRecord(owner, group, mode, complete, free);
  const std::string name = strings::ToLower(SECFileSystem::FileNamePart(fullPath));
  if (entries_.Lookup(name)) {
    entries_.Replace(name, record);
  } else {
    entries_.Add(name, record);
  }
  SavePermFile();
}

void PermissionFile::SavePermFile() const {
  if (permFilePath_.empty()) return;
  entries_.WhileTableLocked([&] {
    std::string text;
    for (const EntryMap::Entry& entry : entries_.TableOrder()) {
      if (entry.record.empty()) continue;
      text.append(kLinePrefix).append(std::to_string(entry.key)).append("=");
      text.append(entry.record).append("\n");
    }
    // Written beside and renamed over the old file, so that the server, or a
    // process that dies while writing, never leaves it half written. Where
    // the server holds the file open in a way that forbids replacing it,
    // it is emptied and rewritten in place instead; a file that cannot be
    // written either way is left as it is.
    const std::string bytes = TextModeWrite(text);
    if (!Written([&] { files_.WriteFileAtomically(permFilePath_, bytes); }))
      Written([&] { files_.WriteWholeFile(permFilePath_, bytes); });
  });
}

}  // namespace permlet
