// Files for tests, made and read without the code under test, and what test
// releases are built from.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace support {

// Writes bytes as given, making the folders on the way.
void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
// Whether anything (a link too, even a dangling one) has this name.
bool Exists(const std::string& path);
void MakeFolder(const std::string& path);
// Every entry below `folder`, as paths relative to it ("sub/file"), folders
// ending with "/", sorted.
std::vector<std::string> ListTree(const std::string& folder);

// Takes the write permission away, which the platform reads as the
// read-only attribute of Windows.
void MakeReadOnly(const std::string& path);

// Eight upper-case hexadecimal digits of the CRC-32 of `bytes`, computed by
// zlib as an independent reference.
std::string Crc32Text(std::string_view bytes);
// An SFV text listing `files` (name, content) with their CRCs, lines ended
// by CR LF, behind a comment header as common SFV tools write it.
std::string SfvText(const std::vector<std::pair<std::string, std::string>>& files);

// Polls `condition` until it holds or `seconds` have passed; for waiting on
// other processes, never for measuring them.
bool WaitUntil(const std::function<bool()>& condition, double seconds = 20);
// A shell command that waits until the file `name` appears, for at most
// twenty seconds, so that a helper process never outlives a failed test.
std::string ShellWaitFor(const std::string& name);

// The number of the platform::OsError that `action` throws, 0 when it throws
// none.
int OsErrorOf(const std::function<void()>& action);

}  // namespace support
