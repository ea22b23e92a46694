// Removing what runs made, and nothing else. The names come from the status
// store, which lies in the release folder where users can replace it.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace release {

// Deletes a file (not forced) if there is one.
void DeleteIfExists(platform::FileSystem& files, const std::string& path);

// Removes the status entry `prefix` + `name` (a folder, or with `asFile` an
// empty file) that a run made. `prefix` is the folder with its separator.
// Only a single plain name is acted on, and only an entry that is still empty
// as the checker made it: anything else is not ours and stays.
void RemoveStatusEntry(platform::FileSystem& files, const std::string& prefix,
                       const std::string& name, bool asFile);

}  // namespace release
