#include "permlet/aclfile/acl_files.h"

#include "platform/platform.h"

namespace permlet {

bool AclFiles::FileExists(const std::string& path) { return platform::FileExists(path); }

std::string AclFiles::ReadWholeFile(const std::string& path) {
  return platform::ReadWholeFile(path);
}

void AclFiles::WriteFileAtomically(const std::string& path, std::string_view bytes) {
  platform::WriteFileAtomically(path, bytes);
}

void AclFiles::WriteWholeFile(const std::string& path, std::string_view bytes) {
  platform::WriteWholeFile(path, bytes);
}

AclFiles& SystemAclFiles() {
  static AclFiles files;
  return files;
}

}  // namespace permlet
