#include "release/paths.h"

#include "common/strings.h"
#include "platform/platform.h"

namespace release {

namespace {

bool IsDotsOnly(std::string_view part) {
  return part.size() >= 2 && part.find_first_not_of('.') == std::string_view::npos;
}

}  // namespace

bool StepsUp(std::string_view path) {
  for (const std::string& part : strings::Split(strings::ReplaceAll(path, "\\", "/"), "/")) {
    if (IsDotsOnly(part)) return true;
  }
  return false;
}

bool StaysInRelease(std::string_view fileName) {
  if (!fileName.empty() && (fileName[0] == '\\' || fileName[0] == '/')) return false;
  // A colon names a drive or a stream of another file.
  return fileName.find(':') == std::string_view::npos && !StepsUp(fileName);
}

std::string ListedFilePath(const std::string& releaseDir, std::string_view fileName) {
  return releaseDir + platform::kSeparator +
         strings::ReplaceAll(fileName, "\\", platform::kSeparatorText);
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

}  // namespace release
