// What corvane does when an operator starts it by hand. The server always
// passes an upload's path and its options, so a line that is only an
// operator's option (or nothing at all) never comes from the server.
#pragma once

#include <optional>
#include <string>

#include "checker/run/permissions.h"
#include "platform/file_system.h"

// "--help", "--version", "--check-settings [PATH]", "--recheck RELEASE_FOLDER"
// as the whole command line, or an empty one (the usage, on standard error):
// returns the exit status. nullopt for any other line, which is the server's.
// Only the re-check changes files (through `files` and `permissions`, as a
// run does).
std::optional<int> RunOperatorOption(platform::FileSystem& files, PermissionControl& permissions,
                                     const std::string& programFolder,
                                     const std::string& commandLine);
