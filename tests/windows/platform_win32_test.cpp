// The Windows platform layer on the system itself (run under wine by
// tests/windows/run_e2e.sh): what differs from POSIX — attributes, share
// modes, named mutexes and the system's path rules.
//
// A test of the Windows build only, so it sets attributes and holds files
// open through the system directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/platform.h"

// After the platform's headers: <windows.h> renames these, and the file
// system's members keep their names.
#include <windows.h>
#undef DeleteFile
#undef MoveFile

namespace {

namespace fs = std::filesystem;
using namespace platform;

FileSystem& files = SystemFileSystem();

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> count{0};
    path_ = (fs::temp_directory_path() / ("win32-test-" + std::to_string(GetCurrentProcessId()) +
                                          "-" + std::to_string(count++)))
                .string();
    fs::create_directory(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

int OsErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const OsError& error) {
    return error.number();
  }
  return 0;
}

bool WaitUntil(const std::function<bool()>& condition, double seconds = 20) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void AddAttribute(const std::string& path, DWORD attribute) {
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), GetFileAttributesA(path.c_str()) | attribute));
}

std::vector<std::string> ListedNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const DirEntry& entry : files.ListFolder(folder))
    names.push_back(entry.name + (entry.isFolder ? "\\" : ""));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Win32Listing, SkipsHiddenAndSystemEntriesAsTheSystemListingDoes) {
  TempFolder temp;
  for (const char* name :
       {"shown.txt", "hidden.txt", "system.txt", ".sfvStatus", ".corvane-8-0.tmp"})
    files.WriteWholeFile(temp / name, "x");
  for (const char* name : {"folder", "hiddenFolder"}) files.CreateFolder(temp / name);
  AddAttribute(temp / "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  AddAttribute(temp / "system.txt", FILE_ATTRIBUTE_SYSTEM);
  AddAttribute(temp / "hiddenFolder", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(ListedNames(temp.path()),
            (std::vector<std::string>{".sfvStatus", "folder\\", "shown.txt"}));
  // Known names are still found and written.
  EXPECT_TRUE(files.FileExists(temp / "hidden.txt"));
  files.WriteWholeFile(temp / "hidden.txt", "rewritten");
  EXPECT_EQ(files.ReadWholeFile(temp / "hidden.txt"), "rewritten");
}

TEST(Win32ReadOnly, ForcedDeletionClearsTheAttributeUnforcedIsRefused) {
  TempFolder temp;
  files.WriteWholeFile(temp / "locked.sfv", "x");
  AddAttribute(temp / "locked.sfv", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(OsErrorOf([&] { files.DeleteFile(temp / "locked.sfv", false); }), kPathFileAccessError);
  EXPECT_TRUE(files.FileExists(temp / "locked.sfv"));
  files.DeleteFile(temp / "locked.sfv", true);
  EXPECT_FALSE(files.PathExists(temp / "locked.sfv"));
}

TEST(Win32DeleteTree, RemovesReadOnlyAndHiddenContent) {
  TempFolder temp;
  files.CreateFolder(temp / "rel");
  files.CreateFolder(temp / "rel\\CD1");
  files.WriteWholeFile(temp / "rel\\CD1\\a.r00", "x");
  files.WriteWholeFile(temp / "rel\\.message", "x");
  AddAttribute(temp / "rel\\CD1\\a.r00", FILE_ATTRIBUTE_READONLY);
  AddAttribute(temp / "rel\\.message", FILE_ATTRIBUTE_HIDDEN);
  AddAttribute(temp / "rel\\CD1", FILE_ATTRIBUTE_READONLY);
  files.DeleteTree(temp / "rel");
  EXPECT_FALSE(files.PathExists(temp / "rel"));
}

// The system drops trailing dots and blanks from a last name: "rel\..." is
// "rel" itself, and "rel\ " too. Such a name read from a status store must
// never delete the folder it is joined to.
TEST(Win32PathRules, NamesOfDotsAndBlanksNeverReachTheFolderAbove) {
  TempFolder temp;
  files.CreateFolder(temp / "section");
  files.CreateFolder(temp / "section\\Rel");
  files.WriteWholeFile(temp / "section\\Rel\\a.r00", "x");
  for (const char* name : {"...", " ", ". ", "..", "."}) {
    const std::string path = temp / ("section\\Rel\\" + std::string(name));
    EXPECT_EQ(OsErrorOf([&] { files.DeleteTree(path); }), kPathNotFound) << "[" << name << "]";
    EXPECT_EQ(OsErrorOf([&] { files.DeleteFolder(path); }), kPathNotFound) << "[" << name << "]";
    EXPECT_NE(OsErrorOf([&] { files.MoveFile(path, temp / "moved"); }), 0) << "[" << name << "]";
  }
  EXPECT_EQ(files.ReadWholeFile(temp / "section\\Rel\\a.r00"), "x");
  EXPECT_FALSE(files.PathExists(temp / "moved"));
}

TEST(Win32PathRules, RefusesNamesTheSystemWouldReadOtherwise) {
  TempFolder temp;
  files.WriteWholeFile(temp / "a.r00", "x");
  // ':' would name a stream of "header".
  EXPECT_EQ(OsErrorOf([&] { files.CreateFolder(temp / "header:50%"); }), kPathFileAccessError);
  EXPECT_EQ(OsErrorOf([&] { files.WriteWholeFile(temp / "a.r00:hidden", "x"); }),
            kPathFileAccessError);
  EXPECT_EQ(OsErrorOf([&] { files.MoveFile(temp / "a.r00", temp / "a|b"); }), kPathFileAccessError);
}

TEST(Win32Errors, ClassicNumbers) {
  TempFolder temp;
  files.WriteWholeFile(temp / "a.r00", "x");
  files.WriteWholeFile(temp / "b.r00", "y");
  EXPECT_EQ(OsErrorOf([&] { files.ReadWholeFile(temp / "none"); }), kFileNotFound);
  EXPECT_EQ(OsErrorOf([&] { files.ReadWholeFile(temp / "none\\a"); }), kPathNotFound);
  EXPECT_EQ(OsErrorOf([&] { files.DeleteTree(temp / "none"); }), kPathNotFound);
  EXPECT_EQ(OsErrorOf([&] { files.ListFolder(temp / "none"); }), kPathNotFound);
  EXPECT_EQ(OsErrorOf([&] { files.CreateFolder(temp / "none\\x"); }), kPathNotFound);
  EXPECT_EQ(OsErrorOf([&] { files.FileLength(temp.path()); }), kFileNotFound);
  EXPECT_EQ(OsErrorOf([&] { files.MoveFile(temp / "a.r00", temp / "b.r00"); }), kFileAlreadyExists);
  EXPECT_EQ(files.FileLength(temp / "b.r00"), 1);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The temporary files in a folder, hidden ones included.
std::vector<DWORD> TemporaryFileAttributes(const std::string& folder) {
  std::vector<DWORD> found;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((folder + "\\.corvane-*.tmp").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    found.push_back(data.dwFileAttributes);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return found;
}

// A replace keeps the file's attributes; while its temporary file lies there
// it is hidden. A reader that lets others write but not replace the file (a
// server showing it, a user downloading it) delays the replace: when it lets
// go soon, the replace goes through, otherwise the bytes are written in
// place, where the reader sees them.
TEST(Win32Replace, KeepsAttributesAndGetsPastReaders) {
  const std::string longer = "new content, longer than the old one was";
  struct Row {
    const char* name;
    bool hidden;
    double readerSeconds;  // 0: no reader
    std::string content;
  };
  const Row rows[] = {
      {".message", true, 0, "new"},      {"rel.sfv", false, 0, "new"},
      {".sfvStatus", true, 0.05, "new"}, {"rel.sfv", false, 0.05, longer},
      {".message", true, 3, "new"},      {"rel.sfv", false, 3, longer},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.name) + ", reader " + std::to_string(row.readerSeconds) + " s");
    TempFolder temp;
    const std::string path = temp / row.name;
    files.WriteWholeFile(path, "the old content");
    if (row.hidden) AddAttribute(path, FILE_ATTRIBUTE_HIDDEN);
    HANDLE reader = INVALID_HANDLE_VALUE;
    if (row.readerSeconds > 0) {
      reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    }
    std::atomic<bool> written{false};
    int error = 0;
    std::thread writer([&] {
      error = OsErrorOf([&] { files.WriteFileAtomically(path, row.content); });
      written = true;
    });
    if (reader != INVALID_HANDLE_VALUE) {
      // The replace waits for the reader, its temporary file hidden beside.
      EXPECT_TRUE(WaitUntil([&] { return !TemporaryFileAttributes(temp.path()).empty(); }, 5));
      for (DWORD attributes : TemporaryFileAttributes(temp.path()))
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
      EXPECT_EQ(WaitUntil([&] { return written.load(); }, row.readerSeconds),
                row.readerSeconds > 1);
      if (written) {
        std::string seen(row.content.size() + 1, '\0');
        DWORD got = 0;
        ASSERT_TRUE(ReadFile(reader, seen.data(), static_cast<DWORD>(seen.size()), &got, nullptr));
        EXPECT_EQ(seen.substr(0, got), row.content);
      }
      CloseHandle(reader);
    }
    writer.join();
    EXPECT_EQ(error, 0);
    EXPECT_EQ(files.ReadWholeFile(path), row.content);
    EXPECT_EQ((Attributes(path) & FILE_ATTRIBUTE_HIDDEN) != 0, row.hidden);
    EXPECT_TRUE(TemporaryFileAttributes(temp.path()).empty());
  }
}

// A read-only file is not replaced, held by a reader or not.
TEST(Win32Replace, ReadOnlyFilesStay) {
  TempFolder temp;
  files.WriteWholeFile(temp / "rel.sfv", "old");
  AddAttribute(temp / "rel.sfv", FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(OsErrorOf([&] { files.WriteFileAtomically(temp / "rel.sfv", "new"); }),
            kPathFileAccessError);
  EXPECT_EQ(files.ReadWholeFile(temp / "rel.sfv"), "old");
  EXPECT_TRUE(TemporaryFileAttributes(temp.path()).empty());
}

// Temporary files whose writer has ended are removed; this process's stay.
TEST(Win32Leftovers, OnlyTemporaryFilesOfEndedWritersAreRemoved) {
  TempFolder temp;
  const std::string own = ".corvane-" + std::to_string(GetCurrentProcessId()) + "-0.tmp";
  const std::string ended = ".corvane-4294967292-0.tmp";  // no process has this number
  for (const std::string& name : {own, ended}) files.WriteWholeFile(temp / name, "");
  AddAttribute(temp / ended, FILE_ATTRIBUTE_HIDDEN);
  files.RemoveLeftoverTemporaries(temp.path());
  EXPECT_TRUE(files.FileExists(temp / own));
  EXPECT_FALSE(files.FileExists(temp / ended));
}

// A file that the server still holds open for writing is not read.
TEST(Win32ShareModes, AFileOpenForWritingIsNotRead) {
  TempFolder temp;
  files.WriteWholeFile(temp / "upload.rar", "partial");
  HANDLE writer =
      CreateFileA((temp / "upload.rar").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(files.IsBeingWritten(temp / "upload.rar"));
  EXPECT_EQ(OsErrorOf([&] { files.OpenForReading(temp / "upload.rar"); }), kPermissionDenied);
  EXPECT_EQ(OsErrorOf([&] { files.ReadWholeFile(temp / "upload.rar"); }), kPermissionDenied);
  CloseHandle(writer);
  EXPECT_FALSE(files.IsBeingWritten(temp / "upload.rar"));
  char buffer[16] = {};
  EXPECT_EQ(files.OpenForReading(temp / "upload.rar")->Read(buffer, sizeof buffer), 7u);
}

TEST(Win32Process, StartFailureAndTheProgramFolder) {
  EXPECT_FALSE(StartProcess("no-such-program.exe", {}, ""));
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_EQ(ProgramFolder() + "\\" + fs::path(self).filename().string(), self);
}

// ---- Locks held by another process ------------------------------------------

std::string SelfPath() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return self;
}

// Starts this program as a holder of the lock (see main): it signals with a
// file "held", and once the file "go" appears it ends without letting go.
void StartHolder(const std::string& kind, const std::string& name, const TempFolder& signals) {
  ASSERT_TRUE(StartProcess(SelfPath(), {"--hold", kind, name, signals.path()}, ""));
  ASSERT_TRUE(WaitUntil([&] { return files.FileExists(signals / "held"); }));
}

// `take` blocks while the holder lives and returns once it has ended: a lock
// whose holder died is taken, not waited for forever.
void ExpectTakenAfterTheHolderDies(const TempFolder& signals, const std::function<void()>& take) {
  std::atomic<bool> taken{false};
  std::thread taker([&] {
    take();
    taken = true;
  });
  EXPECT_FALSE(WaitUntil([&] { return taken.load(); }, 0.3));
  files.WriteWholeFile(signals / "go", "");
  const bool tookIt = WaitUntil([&] { return taken.load(); });
  EXPECT_TRUE(tookIt);
  if (tookIt)
    taker.join();
  else
    taker.detach();
}

TEST(Win32NamedLock, AHolderThatDiesReleasesTheLock) {
  TempFolder signals;
  const std::string name = "lockaamap test " + std::to_string(GetCurrentProcessId());
  StartHolder("named", name, signals);
  NamedLock lock(name);
  // A mutex belongs to the thread that took it: that thread lets go.
  ExpectTakenAfterTheHolderDies(signals, [&] {
    lock.Lock();
    lock.Unlock();
  });
}

// Every spelling of one folder meets the same lock.
TEST(Win32FolderLock, OneLockForEverySpellingOfAFolder) {
  TempFolder signals;
  TempFolder release;
  StartHolder("folder", release.path(), signals);
  std::string otherSpelling = release.path() + "\\";
  for (char& c : otherSpelling) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ExpectTakenAfterTheHolderDies(signals, [&] { FolderLock lock(otherSpelling); });
}

TEST(Win32FolderLock, MissingFolderThrows) {
  TempFolder temp;
  EXPECT_EQ(OsErrorOf([&] { FolderLock lock(temp / "none"); }), kPathNotFound);
}

// --hold KIND NAME SIGNALS: takes the named lock or the folder lock NAME,
// writes SIGNALS\held, waits for SIGNALS\go and ends without unlocking.
int HoldAndDie(const std::string& kind, const std::string& name, const std::string& signals) {
  std::unique_ptr<NamedLock> named;
  std::unique_ptr<FolderLock> folder;
  if (kind == "named") {
    named = std::make_unique<NamedLock>(name);
    named->Lock();
  } else {
    folder = std::make_unique<FolderLock>(name);
  }
  files.WriteWholeFile(signals + "\\held", "");
  WaitUntil([&] { return files.FileExists(signals + "\\go"); });
  ExitProcess(0);  // no destructor runs: the system finds the lock abandoned
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--hold") == 0)
    return HoldAndDie(argv[2], argv[3], argv[4]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
