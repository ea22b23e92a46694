// A .raidenftpd.acl written by the server, another tool or nobody sane. The
// model loads it, answers lookups, and keeps every entry when it writes the
// file again.
#include <algorithm>
#include <vector>

#include "permlet/aclfile/permission_file.h"
#include "platform/file_system.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  platform::FileSystem& files = platform::SystemFileSystem();
  static const std::string folder = fuzz::ScratchPath("acl");
  const std::string acl = folder + "/" + permlet::PermissionFile::kPermFileName;
  support::WriteFile(acl, input);
  // One model for the process: it opens the named locks once.
  static permlet::PermissionFile file(files);
  // The lines in name order: saving visits the table in an order that depends
  // on the order of loading, the set of lines does not.
  const auto savedLines = [&] {
    FUZZ_CHECK(file.AutoChoosePermFile(folder), input);
    file.GetEntry(folder + "/ABC.RAR");
    file.SavePermFile();
    std::vector<std::string> lines = files.ReadTextLines(acl);
    std::sort(lines.begin(), lines.end());
    return lines;
  };
  const std::vector<std::string> saved = savedLines();
  FUZZ_CHECK(savedLines() == saved, input);
  return 0;
}
