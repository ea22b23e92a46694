// The operating-system seam. Every service the programs need from the system
// goes through these functions; platform/posix implements them today and
// platform/win32 will implement them for the server's own platform.
// All texts are 8-bit byte strings in the system code page.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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

// ---- Tests -----------------------------------------------------------------
// Never throw: an unreadable path simply does not exist for the caller.
bool FileExists(const std::string& path);    // an ordinary file (not a folder)
bool FolderExists(const std::string& path);  // a folder, or a link to one
bool PathExists(const std::string& path);    // either

// ---- Creation and deletion -------------------------------------------------
// All of these throw OsError on failure. A name to be created (the last
// component of a new file, folder or rename target) that IsValidName refuses
// fails with 75, and so does overwriting or replacing a read-only file, as on
// Windows. Where a planted link could redirect a write, files are written
// without following it.
void CreateFolder(const std::string& path);
// Creates an empty file, or truncates an existing one to length 0.
void CreateEmptyFile(const std::string& path);
// force: also delete a read-only file (as Windows' forced Kill does).
void DeleteFile(const std::string& path, bool force);
// Deletes an empty folder.
void DeleteFolder(const std::string& path);
// Deletes a folder with all its content; a symbolic link inside is removed as
// a link, never followed. Files are deleted even when read-only.
void DeleteTree(const std::string& path);
// Renames a file or folder; fails with 58 when the target exists (as Windows
// does).
void MoveFile(const std::string& from, const std::string& to);
// Renames over an existing target in one step (the target is replaced).
void ReplaceFile(const std::string& from, const std::string& to);
// Marks a file read-only or writable again.
void SetReadOnly(const std::string& path, bool readOnly);

// Whether a name is one the platform may create: no character of
// \ / : * ? < > | " and no control character. Used by the POSIX layer to refuse
// such names the way Windows does.
bool IsValidName(std::string_view name);

// Whether `path` exists and, with every link on its way resolved, lies
// outside `folder` (resolved the same way). A path that does not exist leads
// nowhere: false. Names read from a release's files must not carry an
// operation through a link into another part of the disk.
bool LeadsOutside(const std::string& folder, const std::string& path);

// ---- Reading ---------------------------------------------------------------
std::int64_t FileLength(const std::string& path);  // throws OsError

struct DirEntry {
  std::string name;
  bool isFolder = false;
};
// Folders and ordinary files of a folder, in the platform's order, without
// "." and ".." and without hidden/system entries (POSIX has no such attributes,
// so dot files are listed). Throws OsError when the folder cannot be read.
std::vector<DirEntry> ListFolder(const std::string& path);
// Entries of `folder` whose names match the wildcard `pattern` (* and ?, case
// ignored, as Windows' search does).
std::vector<DirEntry> FindEntries(const std::string& folder, std::string_view pattern);
bool WildcardMatch(std::string_view pattern, std::string_view name);
// The names the system's own search finds in `folder` for `pattern`, in its
// order: unlike the listing, hidden and system entries too, and "." and ".."
// where the pattern matches them (Windows: FindFirstFile as it answers;
// POSIX: every name of the folder that WildcardMatch takes). Throws OsError
// when the folder cannot be searched.
std::vector<std::string> SystemSearch(const std::string& folder, std::string_view pattern);

// A file opened for sequential binary reading.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `size` bytes; returns the number read, 0 at the end. Throws
  // OsError on a read failure.
  virtual std::size_t Read(void* buffer, std::size_t size) = 0;
};
// Opens for reading, hinting sequential access to the system. Throws OsError
// when the file cannot be opened, including (where the platform can tell) when
// another process holds it open for writing.
std::unique_ptr<InputFile> OpenForReading(const std::string& path);

// Text files: 8-bit, lines ended by CR LF or a bare LF; the line ends are not
// part of the lines. A last line without an end is still a line.
std::vector<std::string> ReadTextLines(const std::string& path);  // throws OsError
std::string ReadWholeFile(const std::string& path);               // throws OsError

// Writes `lines`, each ended by CR LF, replacing the file's old content.
void WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
// Writes bytes as given, replacing the file's old content.
void WriteWholeFile(const std::string& path, std::string_view bytes);
// Writes bytes to a new file beside `path`, then renames it over `path`, so a
// reader sees the old content or the new, never half of it. The temporary file
// is removed again when anything fails: `path` then keeps its old content.
// Throws ReplaceRefused when only the last step, the rename, was refused.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
// The new content was written whole, but the system refused to put it in
// place of the old file (on Windows: another process holds that file open
// without sharing its deletion, as the FTP server may). Only a write in place
// can change such a file; a full disk is never reported this way.
class ReplaceRefused : public OsError {
 public:
  using OsError::OsError;
};

// ---- Clock -----------------------------------------------------------------
// Seconds since local midnight, with a fraction (the checker's "time of day").
double TimeOfDaySeconds();
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
// Starts a program and waits for it; returns its exit code, or -1.
int RunProcess(const std::string& program, const std::vector<std::string>& args);

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
