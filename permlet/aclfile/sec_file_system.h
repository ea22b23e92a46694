// The two path routines of the permission control. A path may use either
// separator: the checker passes host paths, the server's own are Windows paths.
#pragma once

#include <string>
#include <string_view>

namespace permlet {

class SECFileSystem {
 public:
  // Everything up to and including the last "\" or "/"; empty without one.
  static std::string DirectoryPart(std::string_view path);
  // Everything after the last "\" or "/"; the whole path without one.
  static std::string FileNamePart(std::string_view path);
};

}  // namespace permlet
