// The file and folder services of the system behind one interface. Production
// code is handed a FileSystem& at its top (SystemFileSystem()) and reaches
// files only through it, so a test can put a wrapper that fails on purpose in
// its place. All texts are 8-bit byte strings in the system code page.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os_error.h"

namespace platform {

// Where a path lies for a folder, every link on its way resolved.
enum class PathPlace {
  kFileInside,    // an ordinary file inside the folder
  kNoFileInside,  // nothing there, or something that is no ordinary file
  kOutside,       // it leads out of the folder
};

struct DirEntry {
  std::string name;
  bool isFolder = false;  // what it is, through a link what the link points to
  bool isLink = false;    // a link (on Windows a reparse point)
};

// A file opened for sequential binary reading.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `size` bytes; returns the number read, 0 at the end. Throws
  // OsError on a read failure.
  virtual std::size_t Read(void* buffer, std::size_t size) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // ---- Tests ---------------------------------------------------------------
  // Never throw: an unreadable path simply does not exist for the caller.
  virtual bool FileExists(const std::string& path) = 0;    // an ordinary file
  virtual bool FolderExists(const std::string& path) = 0;  // a folder, or a link to one
  bool PathExists(const std::string& path) { return FileExists(path) || FolderExists(path); }
  // Whether `path` exists and, with every link on its way resolved, lies
  // outside `folder` (resolved the same way), and else whether it is an
  // ordinary file: the one test a pass over a release makes per listed file.
  // A path that does not exist leads nowhere. Names read from a release's
  // files must not carry an operation through a link into another part of
  // the disk.
  virtual PathPlace PlaceBelow(const std::string& folder, const std::string& path) = 0;
  bool LeadsOutside(const std::string& folder, const std::string& path) {
    return PlaceBelow(folder, path) == PathPlace::kOutside;
  }
  // The absolute path of what `path` names, with every link on its way
  // resolved; nullopt when it does not exist. Never throws.
  virtual std::optional<std::string> ResolvedPath(const std::string& path) = 0;
  // Whether another holder keeps the file open for writing, as the server
  // does while an upload is still arriving. Where the system cannot tell (on
  // Linux a read lease refused to a process that neither owns the file nor
  // has CAP_LEASE), the file counts as being written: it is then neither
  // judged nor moved. A path that names no file is not being written.
  // OpenForReading refuses such a file. Never throws.
  virtual bool IsBeingWritten(const std::string& path) = 0;

  // ---- Creation and deletion -----------------------------------------------
  // All of these throw OsError on failure. A name to be created (the last
  // component of a new file, folder or rename target) that IsValidName
  // refuses fails with 75, and so does overwriting or replacing a read-only
  // file, as on Windows. Where a planted link could redirect a write, files
  // are written without following it.
  virtual void CreateFolder(const std::string& path) = 0;
  // Creates an empty file, or truncates an existing one to length 0.
  void CreateEmptyFile(const std::string& path) { WriteWholeFile(path, {}); }
  // force: also delete a read-only file (as Windows' forced Kill does).
  virtual void DeleteFile(const std::string& path, bool force) = 0;
  // Deletes an empty folder; a link to a folder goes as a link.
  virtual void DeleteFolder(const std::string& path) = 0;
  // Removes the temporary files of atomic writes (see WriteFileAtomically)
  // that processes no longer running left in `folder`, as a run killed while
  // replacing a file does. Never throws: what cannot be removed stays.
  void RemoveLeftoverTemporaries(const std::string& folder) {
    try {
      ListFolderRemovingLeftovers(folder);
    } catch (const OsError&) {
    }
  }
  // Deletes a folder with all its content; a link inside is removed as a
  // link, never followed. Files are deleted even when read-only.
  virtual void DeleteTree(const std::string& path) = 0;
  // Renames a file or folder; fails with 58 when the target exists (as
  // Windows does).
  virtual void MoveFile(const std::string& from, const std::string& to) = 0;

  // ---- Reading -------------------------------------------------------------
  virtual std::int64_t FileLength(const std::string& path) = 0;  // throws OsError
  // Folders and ordinary files of a folder, in the platform's order, without
  // "." and "..", without hidden/system entries (POSIX has no such
  // attributes, so dot files are listed) and without the temporary files of
  // atomic writes. Throws OsError when the folder cannot be read.
  virtual std::vector<DirEntry> ListFolder(const std::string& path) = 0;
  // The same listing, of a folder in which the caller is about to replace
  // files: on the way, the temporary files that processes no longer running
  // left there are removed (see RemoveLeftoverTemporaries).
  virtual std::vector<DirEntry> ListFolderRemovingLeftovers(const std::string& path) = 0;
  // The names the system's own search finds in `folder` for `pattern`, in its
  // order: unlike the listing, hidden and system entries too, and "." and ".."
  // where the pattern matches them (Windows: FindFirstFile as it answers;
  // POSIX: every name of the folder that WildcardMatch takes); never the
  // temporary files of atomic writes, as in the listing. Throws OsError
  // when the folder cannot be searched.
  virtual std::vector<std::string> SystemSearch(const std::string& folder,
                                                std::string_view pattern) = 0;
  // Opens for reading, hinting sequential access to the system. Throws
  // OsError when the file cannot be opened or IsBeingWritten.
  virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;
  virtual std::string ReadWholeFile(const std::string& path) = 0;  // throws OsError
  // The file's lines as SplitTextLines gives them. Throws OsError.
  std::vector<std::string> ReadTextLines(const std::string& path);

  // ---- Writing -------------------------------------------------------------
  // Writes bytes as given, replacing the file's old content.
  virtual void WriteWholeFile(const std::string& path, std::string_view bytes) = 0;
  // Writes `lines`, each ended by CR LF, replacing the file's old content.
  void WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
  // Writes bytes to a new file beside `path`, then renames it over `path`, so
  // a reader sees the old content or the new, never half of it. The
  // temporary file (".corvane-PID-N.tmp", hidden on Windows) is removed
  // again when anything fails; the old file stays whole. The file keeps its
  // attributes (a hidden file stays hidden). On Windows a reader that lets
  // others write but not replace the file (a server showing it, a user
  // downloading it) blocks the rename: after brief retries the bytes are then
  // written into the file in place, the part beyond its old length first, so
  // that a full disk leaves the old content whole. Throws ReplaceRefused when
  // the new content was written whole but the system refused the rename
  // otherwise.
  virtual void WriteFileAtomically(const std::string& path, std::string_view bytes) = 0;
};

// The new content was written whole, but the system refused to put it in
// place of the old file (a reader holding it on Windows is waited out or
// written past by the atomic write itself). Only a write in place can change
// such a file; a full disk is never reported this way.
class ReplaceRefused : public OsError {
 public:
  using OsError::OsError;
};

// The system's own file system.
FileSystem& SystemFileSystem();

}  // namespace platform
