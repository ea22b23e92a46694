// Makes the test material of bench/run.sh, much faster than a shell loop:
//   make_release files FOLDER COUNT PRESENT BYTES HELD
//     COUNT files rel.00000 ... of BYTES random bytes, listed with their
//     CRC-32 in FOLDER/rel.sfv; the first PRESENT lie in FOLDER, the others in
//     HELD, to be uploaded later.
//   make_release absent FOLDER COUNT
//     FOLDER/rel.sfv listing COUNT files, none of which exists.
//   make_release acl FOLDER COUNT
//     FOLDER/.raidenftpd.acl with COUNT entries of distinct keys.
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "platform/file_system.h"
#include "platform/platform.h"

namespace {

std::string Join(const std::string& folder, const std::string& name) {
  return folder + platform::kSeparatorText + name;
}

std::string ListedName(long i) {
  char name[32];
  std::snprintf(name, sizeof name, "rel.%05ld", i);
  return name;
}

std::string SfvLine(const std::string& name, unsigned long crc) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lX", crc);
  return name + " " + text + "\r\n";
}

void MakeFiles(platform::FileSystem& files, const std::string& folder, long count, long present,
               long bytes, const std::string& held) {
  std::mt19937 random(static_cast<unsigned>(count));
  std::string content(static_cast<std::size_t>(bytes), '\0'), sfv;
  for (long i = 0; i < count; ++i) {
    for (char& c : content) c = static_cast<char>(random());
    const std::string name = ListedName(i);
    files.WriteWholeFile(Join(i < present ? folder : held, name), content);
    sfv += SfvLine(name, crc32(0, reinterpret_cast<const Bytef*>(content.data()),
                               static_cast<uInt>(content.size())));
  }
  files.WriteWholeFile(Join(folder, "rel.sfv"), sfv);
}

void MakeAbsent(platform::FileSystem& files, const std::string& folder, long count) {
  std::string sfv;
  for (long i = 0; i < count; ++i) sfv += SfvLine(ListedName(i), 0x1234ABCDul);
  files.WriteWholeFile(Join(folder, "rel.sfv"), sfv);
}

void MakePermissionFile(platform::FileSystem& files, const std::string& folder, long count) {
  std::string text;
  // An odd multiplier walks all 2^32 keys before it repeats one.
  for (unsigned long i = 0; i < static_cast<unsigned long>(count); ++i) {
    text += "RD2 " + std::to_string((i * 2654435761ul + 12345ul) & 0xFFFFFFFFul) +
            "=user|grp|554|1|0|\r\n";
  }
  files.WriteWholeFile(Join(folder, ".raidenftpd.acl"), text);
}

int Usage() {
  std::fprintf(stderr,
               "usage: make_release files FOLDER COUNT PRESENT BYTES HELD\n"
               "       make_release absent|acl FOLDER COUNT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string what = argv[1], folder = argv[2];
  const long count = std::atol(argv[3]);
  platform::FileSystem& files = platform::SystemFileSystem();
  try {
    if (what == "files" && argc == 7) {
      MakeFiles(files, folder, count, std::atol(argv[4]), std::atol(argv[5]), argv[6]);
    } else if (what == "absent" && argc == 4) {
      MakeAbsent(files, folder, count);
    } else if (what == "acl" && argc == 4) {
      MakePermissionFile(files, folder, count);
    } else {
      return Usage();
    }
  } catch (const platform::OsError& e) {
    std::fprintf(stderr, "error %d: %s\n", e.number(), e.what());
    return 1;
  }
  return 0;
}
