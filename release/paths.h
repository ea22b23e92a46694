// Paths in and around a release. Names read from a release's files (the SFV,
// the status store) and upload paths that users chose must never lead a run
// anywhere else on the disk.
#pragma once

#include <string>
#include <string_view>

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

}  // namespace release
