// The temporary files of atomic writes: ".corvane-PID-N.tmp" beside the file
// being replaced, PID the writing process. Only the platform layer includes
// this header; IsTemporaryName (platform.h) is the public test.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A name for the next temporary file of this process, unique within it.
std::string NextTemporaryName(unsigned long processId);

// The process that made a temporary file of this name; nothing for any other
// name.
std::optional<unsigned long> TemporaryOwner(std::string_view name);

// Whether a process of this number runs (another user's counts too). One that
// has ended but is not yet reaped, or whose handle someone still holds, has
// ended all the same. Each host's own.
bool ProcessRuns(unsigned long processId);

// Whether this is the name of a temporary file whose process no longer runs:
// one that a process killed while replacing a file left behind.
bool IsLeftoverTemporary(std::string_view name);

}  // namespace platform
