// Paths in and around a release. Names read from a release's files (the SFV,
// the status store) and upload paths that users chose must never lead a run
// anywhere else on the disk.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/file_system.h"

namespace release {

// The status store's file name in every release folder.
inline constexpr const char* kStatusStoreName = ".sfvStatus";

// Whether a path holds a step up ("..", or "..." which Windows takes alike)
// among its parts, with either separator.
bool StepsUp(std::string_view path);
// Whether an SFV file name stays inside the release folder: no absolute path,
// no drive, no step up.
bool StaysInRelease(std::string_view fileName);
// The path of a listed file: the release folder and the name, whose "\"
// separators (as SFV files written on Windows have them) become the host's.
std::string ListedFilePath(const std::string& releaseDir, std::string_view fileName);
// Where a listed file lies: outside when it, or the folder it lies in, is a
// link that carries it out of the release (such a file is not the release's
// own), else whether it is there as an ordinary file.
platform::PathPlace ListedFilePlace(platform::FileSystem& files, const std::string& releaseDir,
                                    std::string_view fileName);

// ListedFilePlace for every entry of one pass over a large list, given a
// listing of the release folder: a plain name that the listing shows as an
// ordinary file, no link, lies inside without a walk of its own. Any other
// name (missing, a link, with a folder part, or matched by the system in
// another spelling) is placed by ListedFilePlace. The listing must outlive
// the object, which keeps views of its names.
class ListedFilePlaces {
 public:
  ListedFilePlaces(platform::FileSystem& files, const std::string& releaseDir,
                   const std::vector<platform::DirEntry>& releaseEntries);
  platform::PathPlace Of(std::string_view fileName) const;

 private:
  platform::FileSystem& files_;
  const std::string& releaseDir_;
  std::unordered_set<std::string_view> plainFiles_;
};

}  // namespace release
