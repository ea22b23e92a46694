// Small helpers for building test trees in temporary folders.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "tests/e2e/harness.h"

namespace platform_test {

// The end-to-end harness's temporary folder, with the rights that tests take
// away given back before it goes.
using TempFolder = e2e::TempFolder;

// Writes `bytes` to `path` without going through the code under test.
void PutFile(const std::string& path, const std::string& bytes);
// Reads `path` without going through the code under test.
std::string GetFile(const std::string& path);

// Polls `condition` until it holds or `seconds` have passed; for waiting on
// other processes, never for measuring them.
bool WaitUntil(const std::function<bool()>& condition, double seconds = 20);

// A shell command that waits until the file `name` appears, for at most
// twenty seconds, so that a helper process never outlives a failed test.
std::string ShellWaitFor(const std::string& name);

// The number of the platform::OsError that `action` throws, 0 when it throws
// none.
int OsErrorOf(const std::function<void()>& action);

}  // namespace platform_test
