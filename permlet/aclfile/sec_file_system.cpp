#include "permlet/aclfile/sec_file_system.h"

#include "common/strings.h"

namespace permlet {

std::string SECFileSystem::DirectoryPart(std::string_view path) {
  return std::string(strings::DirectoryPart(path));
}

std::string SECFileSystem::FileNamePart(std::string_view path) {
  return std::string(strings::FileNamePart(path));
}

}  // namespace permlet
