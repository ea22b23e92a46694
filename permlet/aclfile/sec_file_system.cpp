#include "permlet/aclfile/sec_file_system.h"

namespace permlet {

namespace {
std::string_view::size_type LastSeparator(std::string_view path) {
  return path.find_last_of("\\/");
}
}  // namespace

std::string SECFileSystem::DirectoryPart(std::string_view path) {
  const auto at = LastSeparator(path);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string SECFileSystem::FileNamePart(std::string_view path) {
  const auto at = LastSeparator(path);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

}  // namespace permlet
