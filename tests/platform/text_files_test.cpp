#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "tests/platform/temp_folder.h"

using namespace platform;
using namespace platform_test;
using Lines = std::vector<std::string>;

TEST(ReadTextLinesTest, CrLfAndBareLf) {
  TempFolder temp;
  const std::string file = temp / "list.sfv";
  struct Case {
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"\n", {""}},
      {"a\r\nb\nc", {"a", "b", "c"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"a\r\r\n", {"a\r"}},
      {"lone\r", {"lone"}},
      {"mid\rline\n", {"mid\rline"}},
      {std::string("nul\0byte", 8), {std::string("nul\0byte", 8)}},
  };
  for (const Case& c : cases) {
    PutFile(file, c.bytes);
    EXPECT_EQ(c.lines, ReadTextLines(file)) << c.bytes;
  }
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { ReadTextLines(temp / "none"); }));
}

TEST(WriteTextLinesTest, EndsEveryLineWithCrLfAndReplacesOldContent) {
  TempFolder temp;
  const std::string file = temp / ".message";
  PutFile(file, "a much longer old content that must vanish");
  WriteTextLines(file, {"SFV currently being checked.", "", "x"});
  EXPECT_EQ("SFV currently being checked.\r\n\r\nx\r\n", GetFile(file));
  WriteTextLines(file, {});
  EXPECT_EQ("", GetFile(file));
}

TEST(WholeFileTest, DoesNotWriteThroughALink) {
  TempFolder temp;
  PutFile(temp / "elsewhere", "untouched");
  std::filesystem::create_symlink(temp / "elsewhere", temp / "planted");
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { WriteWholeFile(temp / "planted", "x"); }));
  EXPECT_EQ("untouched", GetFile(temp / "elsewhere"));
}

TEST(WriteFileAtomicallyTest, ReplacesContentAndLeavesNoTemporaryFile) {
  TempFolder temp;
  const std::string file = temp / ".sfvStatus";
  WriteFileAtomically(file, "first");
  std::filesystem::permissions(
      file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  WriteFileAtomically(file, "second");
  EXPECT_EQ("second", GetFile(file));
  EXPECT_EQ(std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
            std::filesystem::status(file).permissions());
  ASSERT_EQ(1u, ListFolder(temp.path()).size());

  // A folder in the way makes the final rename fail: the temporary goes too.
  CreateFolder(temp / "blocked");
  EXPECT_NE(0, OsErrorOf([&] { WriteFileAtomically(temp / "blocked", "x"); }));
  EXPECT_EQ(2u, ListFolder(temp.path()).size());
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { WriteFileAtomically(temp / "no/file", "x"); }));
}

namespace {

std::string ReadAll(InputFile& input) {
  std::string bytes;
  char buffer[7];  // odd size: several reads and a short last one
  while (std::size_t got = input.Read(buffer, sizeof buffer)) bytes.append(buffer, got);
  return bytes;
}

}  // namespace

TEST(OpenForReadingTest, ReadsSequentially) {
  TempFolder temp;
  PutFile(temp / "a.r00", "0123456789abcdefghij");
  std::unique_ptr<InputFile> input = OpenForReading(temp / "a.r00");
  EXPECT_EQ("0123456789abcdefghij", ReadAll(*input));
  EXPECT_EQ(0u, input->Read(nullptr, 0));
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { OpenForReading(temp / "none"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { OpenForReading(temp.path()); }));
}

TEST(OpenForReadingTest, RefusesAPipeWithoutWaitingForAWriter) {
  TempFolder temp;
  ASSERT_EQ(0, RunProcess("mkfifo", {temp / "pipe"}));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { OpenForReading(temp / "pipe"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { ReadWholeFile(temp / "pipe"); }));
  EXPECT_FALSE(PathExists(temp / "pipe"));
  EXPECT_TRUE(ListFolder(temp.path()).empty());
}

TEST(OpenForReadingTest, RefusesAFileOpenForWritingInThisProcess) {
  TempFolder temp;
  const std::string file = temp / "uploading.r01";
  {
    std::ofstream writer(file, std::ios::binary);
    writer << "partial";
    writer.flush();
    EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { OpenForReading(file); }));
  }
  EXPECT_EQ("partial", ReadAll(*OpenForReading(file)));
  // Readers elsewhere are no obstacle.
  std::ifstream otherReader(file);
  EXPECT_EQ("partial", ReadAll(*OpenForReading(file)));
}

TEST(OpenForReadingTest, RefusesAFileAnotherProcessIsWriting) {
  TempFolder temp;
  const std::string file = temp / "uploading.r02";
  PutFile(file, "partial");
  const std::string script = "exec 3>>'" + file + "'; : > ready; " + ShellWaitFor("stop");
  ASSERT_TRUE(StartProcess("sh", {"-c", script}, temp.path()));
  ASSERT_TRUE(WaitUntil([&] { return FileExists(temp / "ready"); }));

  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { OpenForReading(file); }));

  PutFile(temp / "stop", "");
  EXPECT_TRUE(WaitUntil([&] { return OsErrorOf([&] { OpenForReading(file); }) == 0; }));
}

// A writer opening the file while the reader's probe holds its lease makes the
// system signal the reader; that must not end the reading process.
TEST(OpenForReadingTest, SurvivesWritersOpeningDuringTheProbe) {
  TempFolder temp;
  const std::string file = temp / "busy";
  PutFile(file, "x");
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    while (!stop) std::ofstream(file, std::ios::app) << "";
  });
  int opened = 0;
  for (int i = 0; i < 3000; ++i) {
    if (OsErrorOf([&] { OpenForReading(file); }) == 0) ++opened;
  }
  stop = true;
  writer.join();
  EXPECT_GT(opened, 0);
}
