// Status entries: the empty folders (or, with FILE_HEADER, empty files) whose
// names show a release's state, inside the release (progress headers) and in
// its parent or override folder (parent entries). Removing an old one is
// release::RemoveStatusEntry.
#pragma once

#include <string>

#include "platform/file_system.h"

// Makes the entry `prefix` + `name` unless it exists. `prefix` is the folder
// with its separator. A name that is not a single plain name is refused
// (RunError, bad file name); the platform refuses names it cannot hold.
void MakeStatusEntry(platform::FileSystem& files, const std::string& prefix,
                     const std::string& name, bool asFile);
