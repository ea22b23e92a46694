#include "release/paths.h"

#include <algorithm>

#include "common/strings.h"
#include "platform/platform.h"

namespace release {

namespace {

bool IsDotsOnly(std::string_view part) {
  return part.size() >= 2 && part.find_first_not_of('.') == std::string_view::npos;
}

}  // namespace

bool StepsUp(std::string_view path) {
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find_first_of("/\\", start), path.size());
    if (IsDotsOnly(path.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

bool StaysInRelease(std::string_view fileName) {
  if (!fileName.empty() && (fileName[0] == '\\' || fileName[0] == '/')) return false;
  // A colon names a drive or a stream of another file.
  return fileName.find(':') == std::string_view::npos && !StepsUp(fileName);
}

std::string ListedFilePath(const std::string& releaseDir, std::string_view fileName) {
  std::string path = releaseDir + platform::kSeparator;
  path += fileName;
  std::replace(path.begin() + static_cast<std::ptrdiff_t>(releaseDir.size()), path.end(), '\\',
               platform::kSeparator);
  return path;
}

platform::PathPlace ListedFilePlace(platform::FileSystem& files, const std::string& releaseDir,
                                    std::string_view fileName) {
  const std::string path = ListedFilePath(releaseDir, fileName);
  const platform::PathPlace place = files.PlaceBelow(releaseDir, path);
  // A name without a folder part lies in the release folder itself. The
  // folder of any other decides where its markers and bad copies go, even
  // when the file itself (missing, or linked back in) lies inside.
  if (place != platform::PathPlace::kOutside && !strings::DirectoryPart(fileName).empty() &&
      files.LeadsOutside(releaseDir, strings::BeforeLastSeparator(path)))
    return platform::PathPlace::kOutside;
  return place;
}

ListedFilePlaces::ListedFilePlaces(platform::FileSystem& files, const std::string& releaseDir,
                                   const std::vector<platform::DirEntry>& releaseEntries)
    : files_(files), releaseDir_(releaseDir) {
  for (const platform::DirEntry& entry : releaseEntries) {
    if (!entry.isFolder && !entry.isLink) plainFiles_.insert(entry.name);
  }
}

platform::PathPlace ListedFilePlaces::Of(std::string_view fileName) const {
  if (strings::IsPlainName(fileName) && plainFiles_.contains(fileName))
    return platform::PathPlace::kFileInside;
  return ListedFilePlace(files_, releaseDir_, fileName);
}

}  // namespace release
