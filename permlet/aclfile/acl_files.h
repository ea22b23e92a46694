// The file operations of the permission file model, as the platform offers
// them. A test puts its own in their place to count the writes or to make
// one fail as a full disk does.
#pragma once

#include <string>
#include <string_view>

namespace permlet {

class AclFiles {
 public:
  virtual ~AclFiles() = default;
  virtual bool FileExists(const std::string& path);
  virtual std::string ReadWholeFile(const std::string& path);
  virtual void WriteFileAtomically(const std::string& path, std::string_view bytes);
  virtual void WriteWholeFile(const std::string& path, std::string_view bytes);
};

// The platform's own.
AclFiles& SystemAclFiles();

}  // namespace permlet
