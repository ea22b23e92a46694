#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace support {

std::string TempRoot() { return (fs::temp_directory_path() / "corvane-e2e-").string(); }

TempFolder::TempFolder() {
  std::string pattern = TempRoot() + "XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Tests make files unreadable or read-only: give the owner rights back first.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink())
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(path_, ignored);
}

std::string TempFolder::operator/(std::string_view relative) const {
  return path_ + "/" + std::string(relative);
}

}  // namespace support
