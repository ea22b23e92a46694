// A .raidenftpd.acl written by the server, another tool or nobody sane. The
// model loads it, answers lookups, keeps every entry when it writes the file
// again, an entry it sets reads back as set, and changes kept for one save
// leave the bytes that saving each change leaves.
#include <algorithm>
#include <vector>

#include "permlet/aclfile/permission_file.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const std::string& AclFolder() {
  static const std::string folder = [] {
    const std::string path = fuzz::ScratchPath("acl");
    platform::SystemFileSystem().CreateFolder(path);
    return path;
  }();
  return folder;
}

std::string AclPath() {
  return AclFolder() + platform::kSeparator + permlet::PermissionFile::kPermFileName;
}

// The file's lines in name order: saving visits the table in an order that
// depends on the order of loading, the set of lines does not.
std::vector<std::string> SortedLines(const std::string& path) {
  std::vector<std::string> lines = platform::SystemFileSystem().ReadTextLines(path);
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  fuzz::PutFile(AclPath(), input);
  // One model for the process: it opens the named locks once.
  static permlet::PermissionFile file(platform::SystemFileSystem());

  FUZZ_CHECK(file.AutoChoosePermFile(AclFolder()), input);
  const std::string folder = AclFolder() + platform::kSeparator;
  for (const char* name : {"abc", "file.rar", "ABC.RAR", "", ".sfvStatus"}) {
    file.GetEntry(folder + name);
    file.GetEntryForName(name);
  }
  const auto own = file.GetEntry(folder + ".RAIDENFTPD.ACL");
  FUZZ_CHECK(own && own->owner == "root" && own->mode == "000" && own->complete == 1, input);

  // Written and loaded again, the file keeps its entries.
  file.SavePermFile();
  const std::vector<std::string> saved = SortedLines(AclPath());
  for (const std::string& line : saved) FUZZ_CHECK(line.starts_with("RD2 "), line);
  FUZZ_CHECK(file.AutoChoosePermFile(AclFolder()), input);
  file.SavePermFile();
  FUZZ_CHECK(SortedLines(AclPath()) == saved, input);

  file.SetEntry(folder + "New.Rar", "bob", "grp", "755", 1, 0);
  const auto entry = file.GetEntry(folder + "new.rar");
  FUZZ_CHECK(entry && entry->owner == "bob" && entry->group == "grp" && entry->mode == "755" &&
                 entry->complete == 1 && entry->free == 0,
             input);

  std::string eachChange;
  for (const auto saving :
       {permlet::PermissionFile::Saving::kEachChange, permlet::PermissionFile::Saving::kKept}) {
    fuzz::PutFile(AclPath(), input);
    permlet::PermissionFile changed(platform::SystemFileSystem(), saving);
    for (const char* name : {"abc", "a.r00", "ABC", "a.r02", ""})
      changed.SetEntry(folder + name, "u", "g", "554", 0, 0);
    changed.SaveKeptChanges();
    const std::string bytes = platform::SystemFileSystem().ReadWholeFile(AclPath());
    if (saving == permlet::PermissionFile::Saving::kEachChange) eachChange = bytes;
    FUZZ_CHECK(bytes == eachChange, input);
  }
  return 0;
}
