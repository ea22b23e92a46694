#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host_file_system.h"
#include "platform/platform.h"
#include "platform/posix/posix_support.h"
#include "platform/temporary_names.h"

namespace platform {

namespace {

// Whether an entry is a folder or an ordinary file; a link counts as what it
// points to, and anything else (devices, pipes, dangling links) is left out.
bool Classify(DIR* dir, const dirent& entry, DirEntry& listed) {
  switch (entry.d_type) {
    case DT_DIR:
      listed.isFolder = true;
      return true;
    case DT_REG:
      return true;
    case DT_LNK:
    case DT_UNKNOWN: {
      struct stat info;
      if (fstatat(dirfd(dir), entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
      listed.isLink = S_ISLNK(info.st_mode);
      if (listed.isLink && fstatat(dirfd(dir), entry.d_name, &info, 0) != 0) return false;
      listed.isFolder = S_ISDIR(info.st_mode);
      return listed.isFolder || S_ISREG(info.st_mode);
    }
    default:
      return false;
  }
}

// Calls `take(dir, entry)` for every entry of the folder, "." and ".." too,
// but never for the temporary file of an atomic write; removeLeftovers: the
// temporary files that ended processes left go on the way (unlinkat leaves a
// folder of such a name, which is not one of ours).
template <typename Take>
void ReadFolder(const std::string& path, Take take, bool removeLeftovers = false) {
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) posix::ThrowSystemError(errno, path, posix::Subject::kFolder);
  errno = 0;
  while (dirent* entry = readdir(dir)) {
    if (!IsTemporaryName(entry->d_name)) {
      take(dir, *entry);
    } else if (removeLeftovers && IsLeftoverTemporary(entry->d_name)) {
      unlinkat(dirfd(dir), entry->d_name, 0);
    }
    errno = 0;
  }
  int err = errno;
  closedir(dir);
  if (err != 0) posix::ThrowSystemError(err, path, posix::Subject::kFolder);
}

std::vector<DirEntry> ListEntries(const std::string& path, bool removeLeftovers) {
  std::vector<DirEntry> entries;
  ReadFolder(
      path,
      [&](DIR* dir, const dirent& entry) {
        std::string_view name = entry.d_name;
        DirEntry listed;
        if (name != "." && name != ".." && Classify(dir, entry, listed)) {
          listed.name = name;
          entries.push_back(std::move(listed));
        }
      },
      removeLeftovers);
  return entries;
}

}  // namespace

std::vector<DirEntry> HostFileSystem::ListFolder(const std::string& path) {
  return ListEntries(path, false);
}

std::vector<DirEntry> HostFileSystem::ListFolderRemovingLeftovers(const std::string& path) {
  return ListEntries(path, true);
}

std::vector<std::string> HostFileSystem::SystemSearch(const std::string& folder,
                                                      std::string_view pattern) {
  // A plain name that exists as given needs no walk through the folder; one
  // that differs in case from the entry's name is found by the walk.
  struct stat info;
  if (!pattern.empty() && pattern.find_first_of("*?/") == std::string_view::npos &&
      !IsTemporaryName(pattern) &&
      fstatat(AT_FDCWD, (folder + kSeparatorText).append(pattern).c_str(), &info,
              AT_SYMLINK_NOFOLLOW) == 0)
    return {std::string(pattern)};
  std::vector<std::string> names;
  ReadFolder(folder, [&](DIR*, const dirent& entry) {
    if (WildcardMatch(pattern, entry.d_name)) names.emplace_back(entry.d_name);
  });
  return names;
}

}  // namespace platform
