// The operating-system seam. Every service the programs need from the system
// goes through these functions, the file system (platform/file_system.h) and
// the component layer (platform/component.h); platform/posix implements them
// for POSIX and platform/win32 for the server's own platform. All texts are
// 8-bit byte strings in the system code page.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os_error.h"

namespace platform {

// The host's path separator: the checker joins Windows paths with '\', which
// is '/' on POSIX.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif
inline const std::string kSeparatorText(1, kSeparator);

// ---- Names and texts ---------------------------------------------------------
// The file and folder services themselves are platform/file_system.h.

// Whether a name is one the platform may create: no character of
// \ / : * ? < > | " and no control character. Used by the POSIX layer to refuse
// such names the way Windows does.
bool IsValidName(std::string_view name);

// Whether `name` is that of the temporary file of an atomic write
// (".corvane-PID-N.tmp"). Listings never return such names.
bool IsTemporaryName(std::string_view name);

// Whether `name` matches the wildcard `pattern` (* and ?, case ignored, as
// Windows' search does).
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Text files: 8-bit, lines ended by CR LF or a bare LF; the line ends are not
// part of the lines. A last line without an end is still a line.
std::vector<std::string> SplitTextLines(std::string_view text);

// ---- Clock -----------------------------------------------------------------
// A monotonic clock in seconds, for measuring durations.
double ElapsedSeconds();
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime Now();

// ---- Process ---------------------------------------------------------------
// Folder of the running executable, without a trailing separator.
std::string ProgramFolder();
// The command line as the process received it, after the program's own name:
// on POSIX the arguments joined by single spaces.
std::string CommandLine(int argc, char** argv);
// Starts a program without waiting for it. Returns false when it cannot start.
bool StartProcess(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingFolder);

// Lets standard output and standard error reach the terminal the program was
// started from. A Windows program built without a console of its own (the
// checker, skarrow) attaches to its parent's console for each stream that
// leads nowhere; a stream redirected to a file or pipe stays as it is. Calling
// it again changes nothing. Elsewhere the streams lead there already.
void AttachToTerminal();

enum class MessageIcon { kError, kInformation, kQuestion };
// Shows a message box where a desktop exists; otherwise writes title and text
// to standard error.
void ShowMessageBox(const std::string& title, const std::string& text, MessageIcon icon);

// ---- Locks -----------------------------------------------------------------
// A system-wide named lock shared by every process on the machine. The system
// releases it when its holder dies. Each thread that takes the lock uses an
// object of its own: separate objects exclude each other, one object shared
// by two threads does not. On POSIX the lock is a file named after it in the
// folder of the module that takes it (the control library, or the program
// that links this code), created under the process's umask: the operator
// decides, through that folder and the umask, which accounts may take it.
class NamedLock {
 public:
  explicit NamedLock(const std::string& name);
  ~NamedLock();
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;
  void Lock();
  void Unlock();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Holds a NamedLock from construction to destruction.
class NamedLockHold {
 public:
  explicit NamedLockHold(NamedLock& lock) : lock_(lock) { lock_.Lock(); }
  ~NamedLockHold() {
    try {
      lock_.Unlock();
    } catch (const OsError&) {
      // The system drops the lock with its last handle at the latest.
    }
  }
  NamedLockHold(const NamedLockHold&) = delete;
  NamedLockHold& operator=(const NamedLockHold&) = delete;

 private:
  NamedLock& lock_;
};

// An exclusive lock on a folder for as long as the object lives, so that runs
// working on the same folder at the same time take turns. The constructor
// blocks until the lock is free; the system releases it when its holder dies.
// Throws OsError when the folder cannot be opened.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
