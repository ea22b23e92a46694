// Status entries: the empty folders (or, with FILE_HEADER, empty files) whose
// names show a release's state, inside the release (progress headers) and in
// its parent or override folder (parent entries).
#pragma once

#include <string>

// Makes the entry `prefix` + `name` unless it exists. `prefix` is the folder
// with its separator. A name that is not a single plain name is refused
// (RunError, bad file name); the platform refuses names it cannot hold.
void MakeStatusEntry(const std::string& prefix, const std::string& name, bool asFile);

// Removes an entry that an earlier run made, by the name the status store
// kept. The store lies in the release folder where users can replace it, so
// only a single plain name is acted on, and only an entry that is still empty
// as the checker made it: anything else is not ours and stays.
void RemoveStatusEntry(const std::string& prefix, const std::string& name, bool asFile);
