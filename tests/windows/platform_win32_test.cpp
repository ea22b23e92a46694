// The Windows platform layer on the system itself, under wine: what the POSIX
// tests cannot show (attributes, share modes, the names the system reads
// otherwise). It sets attributes and holds files open through the system.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/files.h"

// After the platform's headers: <windows.h> renames these, and the file
// system's members keep their names.
#include <windows.h>
#undef DeleteFile
#undef MoveFile

namespace {

namespace fs = std::filesystem;
using namespace platform;
using support::OsErrorOf;
using support::WaitUntil;

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
    fs::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

void AddAttribute(const std::string& path, DWORD attribute) {
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), GetFileAttributesA(path.c_str()) | attribute));
}

// The listing leaves out what the system's listing hides; the system's
// search, which the permission control uses, finds it.
TEST(Win32Attributes, HiddenEntriesAreSearchedButNotListed) {
  TempFolder temp;
  for (const char* name :
       {"shown.txt", "hidden.txt", "system.txt", ".sfvStatus", ".corvane-8-0.tmp"})
    files.WriteWholeFile(temp / name, "x");
  for (const char* name : {"folder", "hiddenFolder"}) files.CreateFolder(temp / name);
  AddAttribute(temp / "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  AddAttribute(temp / "system.txt", FILE_ATTRIBUTE_SYSTEM);
  AddAttribute(temp / "hiddenFolder", FILE_ATTRIBUTE_HIDDEN);
  std::vector<std::string> listed;
  for (const DirEntry& entry : files.ListFolder(temp.path())) listed.push_back(entry.name);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{".sfvStatus", "folder", "shown.txt"}));
  std::vector<std::string> searched = files.SystemSearch(temp.path(), "*");
  std::sort(searched.begin(), searched.end());
  EXPECT_EQ(searched, (std::vector<std::string>{".", "..", ".sfvStatus", "folder", "hidden.txt",
                                                "hiddenFolder", "shown.txt", "system.txt"}));
}

// Read-only and hidden content goes with a forced deletion and a tree's;
// an unforced deletion and a replace leave a read-only file as it is.
TEST(Win32Attributes, ReadOnlyFilesGoOnlyWhenForced) {
  TempFolder temp;
  files.CreateFolder(temp / "rel");
  files.CreateFolder(temp / "rel\\CD1");
  for (const char* name : {"rel.sfv", "rel\\CD1\\a.r00", "rel\\.message"})
    files.WriteWholeFile(temp / name, "old");
  for (const char* name : {"rel.sfv", "rel\\CD1\\a.r00", "rel\\CD1"})
    AddAttribute(temp / name, FILE_ATTRIBUTE_READONLY);
  AddAttribute(temp / "rel\\.message", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(OsErrorOf([&] { files.DeleteFile(temp / "rel.sfv", false); }), kPathFileAccessError);
  EXPECT_EQ(OsErrorOf([&] { files.WriteFileAtomically(temp / "rel.sfv", "new"); }),
            kPathFileAccessError);
  EXPECT_EQ(files.ReadWholeFile(temp / "rel.sfv"), "old");
  files.DeleteFile(temp / "rel.sfv", true);
  files.DeleteTree(temp / "rel");
  EXPECT_TRUE(files.ListFolder(temp.path()).empty());
}

// The system drops trailing dots and blanks from a last name ("rel\..." is
// "rel"), and reads ':' as a stream: such names never reach another file.
TEST(Win32Names, NamesTheSystemReadsOtherwiseAreRefused) {
  TempFolder temp;
  files.CreateFolder(temp / "Rel");
  files.WriteWholeFile(temp / "Rel\\a.r00", "x");
  for (const char* name : {"...", " ", ". ", "..", "."}) {
    const std::string path = temp / ("Rel\\" + std::string(name));
    EXPECT_EQ(OsErrorOf([&] { files.DeleteTree(path); }), kPathNotFound) << "[" << name << "]";
    EXPECT_EQ(OsErrorOf([&] { files.DeleteFolder(path); }), kPathNotFound) << "[" << name << "]";
    EXPECT_NE(OsErrorOf([&] { files.MoveFile(path, temp / "moved"); }), 0) << "[" << name << "]";
  }
  EXPECT_EQ(OsErrorOf([&] { files.CreateFolder(temp / "header:50%"); }), kPathFileAccessError);
  EXPECT_EQ(OsErrorOf([&] { files.WriteWholeFile(temp / "Rel\\a.r00:hidden", "x"); }),
            kPathFileAccessError);
  EXPECT_EQ(OsErrorOf([&] { files.MoveFile(temp / "Rel\\a.r00", temp / "a|b"); }),
            kPathFileAccessError);
  EXPECT_EQ(files.ReadWholeFile(temp / "Rel\\a.r00"), "x");
  EXPECT_FALSE(files.PathExists(temp / "moved"));
}

// The attributes of the temporary files of atomic writes in a folder.
std::vector<DWORD> TemporaryFileAttributes(const std::string& folder) {
  std::vector<DWORD> found;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().starts_with(".corvane-"))
      found.push_back(GetFileAttributesA(entry.path().string().c_str()));
  return found;
}

// A replace keeps the file's attributes; while its temporary file lies there
// it is hidden. A reader that lets others write but not replace the file (a
// server showing it, a user downloading it) delays the replace: when it lets
// go soon, the replace goes through, otherwise the bytes are written in
// place before it lets go.
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
      {".sfvStatus", true, 0.05, "new"}, {".message", true, 3, "new"},
      {"rel.sfv", false, 3, longer},
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
      EXPECT_TRUE(WaitUntil([&] { return !TemporaryFileAttributes(temp.path()).empty(); }, 5));
      for (DWORD attributes : TemporaryFileAttributes(temp.path()))
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
      EXPECT_EQ(WaitUntil([&] { return written.load(); }, row.readerSeconds),
                row.readerSeconds > 1);
      CloseHandle(reader);
    }
    writer.join();
    EXPECT_EQ(error, 0);
    EXPECT_EQ(files.ReadWholeFile(path), row.content);
    EXPECT_EQ((GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0, row.hidden);
    EXPECT_TRUE(TemporaryFileAttributes(temp.path()).empty());
  }
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
}

}  // namespace
