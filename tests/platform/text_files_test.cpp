#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

using namespace platform;
using namespace support;

namespace {
FileSystem& files = SystemFileSystem();
}  // namespace

TEST(TextLinesTest, ReadCrLfAndBareLfWriteCrLf) {
  TempFolder temp;
  const std::string file = temp / "list.sfv";
  const struct {
    std::string bytes;
    std::vector<std::string> lines;
  } rows[] = {
      {"", {}},
      {"a\r\n\r\nb\nc", {"a", "", "b", "c"}},
      {"a\r\r\n", {"a\r"}},
      {"lone\r", {"lone"}},
      {"mid\rline\n", {"mid\rline"}},
      {std::string("nul\0byte", 8), {std::string("nul\0byte", 8)}},
  };
  for (const auto& row : rows) {
    WriteFile(file, row.bytes);
    EXPECT_EQ(row.lines, files.ReadTextLines(file)) << row.bytes;
  }
  WriteFile(file, "a much longer old content that must vanish");
  files.WriteTextLines(file, {"SFV currently being checked.", "", "x"});
  EXPECT_EQ("SFV currently being checked.\r\n\r\nx\r\n", ReadFile(file));
}

TEST(WriteFileAtomicallyTest, ReplacesContentAndLeavesNoTemporaryFile) {
  TempFolder temp;
  const std::string file = temp / ".sfvStatus";
  const auto mode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
  files.WriteFileAtomically(file, "first");
  std::filesystem::permissions(file, mode);
  files.WriteFileAtomically(file, "second");
  EXPECT_EQ("second", ReadFile(file));
  EXPECT_EQ(mode, std::filesystem::status(file).permissions());
  // Written whole but refused its place: the temporary goes too.
  files.CreateFolder(temp / "blocked");
  EXPECT_THROW(files.WriteFileAtomically(temp / "blocked", "x"), ReplaceRefused);
  EXPECT_EQ(ListTree(temp.path()), (std::vector<std::string>{".sfvStatus", "blocked/"}));
}

// Reading is sequential; a folder or a pipe is refused, the pipe without
// waiting for a writer; so is a file open for writing, but not one open for
// reading.
TEST(OpenForReadingTest, ReadsSequentiallyAndRefusesWhatIsNoFinishedFile) {
  TempFolder temp;
  const std::string file = temp / "a.r00";
  WriteFile(file, "0123456789abcdefghij");
  std::string read;
  char buffer[7];  // odd size: several reads and a short last one
  for (auto input = files.OpenForReading(file); std::size_t got = input->Read(buffer, 7);) {
    read.append(buffer, got);
  }
  EXPECT_EQ("0123456789abcdefghij", read);
  ASSERT_EQ(0, std::system(("mkfifo '" + temp / "pipe" + "'").c_str()));
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { files.OpenForReading(temp / "none"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.OpenForReading(temp.path()); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.OpenForReading(temp / "pipe"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.ReadWholeFile(temp / "pipe"); }));
  EXPECT_FALSE(files.PathExists(temp / "pipe"));
  std::ifstream otherReader(file);
  EXPECT_EQ(0, OsErrorOf([&] { files.OpenForReading(file); }));
  std::ofstream writer(file, std::ios::app);
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.OpenForReading(file); }));
  // Where the probe cannot tell (no leases here, another owner's file in
  // production), the file counts as being written and is not read.
  EXPECT_TRUE(files.IsBeingWritten("/proc/version"));
  EXPECT_EQ(kPermissionDenied, OsErrorOf([&] { files.OpenForReading("/proc/version"); }));
}

// A writer opening the file while the reader's probe holds its lease makes the
// system signal the reader; that must not end the reading process.
TEST(OpenForReadingTest, SurvivesWritersOpeningDuringTheProbe) {
  TempFolder temp;
  const std::string file = temp / "busy";
  WriteFile(file, "x");
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    while (!stop) std::ofstream(file, std::ios::app) << "";
  });
  int opened = 0;
  for (int i = 0; i < 3000; ++i) {
    if (OsErrorOf([&] { files.OpenForReading(file); }) == 0) ++opened;
  }
  stop = true;
  writer.join();
  EXPECT_GT(opened, 0);
}
