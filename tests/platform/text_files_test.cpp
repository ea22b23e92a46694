#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
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
    WriteFile(file, c.bytes);
    EXPECT_EQ(c.lines, files.ReadTextLines(file)) << c.bytes;
  }
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { files.ReadTextLines(temp / "none"); }));
}

// Text lines end with CR LF and replace the old content; no write goes
// through a link planted in the file's place.
TEST(WriteTextLinesTest, EndsEveryLineWithCrLfAndNeverWritesThroughALink) {
  TempFolder temp;
  const std::string file = temp / ".message";
  WriteFile(file, "a much longer old content that must vanish");
  files.WriteTextLines(file, {"SFV currently being checked.", "", "x"});
  EXPECT_EQ("SFV currently being checked.\r\n\r\nx\r\n", ReadFile(file));
  files.WriteTextLines(file, {});
  EXPECT_EQ("", ReadFile(file));

  WriteFile(temp / "elsewhere", "untouched");
  std::filesystem::create_symlink(temp / "elsewhere", temp / "planted");
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.WriteWholeFile(temp / "planted", "x"); }));
  EXPECT_EQ("untouched", ReadFile(temp / "elsewhere"));
}

TEST(WriteFileAtomicallyTest, ReplacesContentAndLeavesNoTemporaryFile) {
  TempFolder temp;
  const std::string file = temp / ".sfvStatus";
  files.WriteFileAtomically(file, "first");
  std::filesystem::permissions(
      file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  files.WriteFileAtomically(file, "second");
  EXPECT_EQ("second", ReadFile(file));
  EXPECT_EQ(std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
            std::filesystem::status(file).permissions());
  ASSERT_EQ(1u, ListTree(temp.path()).size());

  // A folder in the way makes the final rename fail: the temporary goes too.
  files.CreateFolder(temp / "blocked");
  EXPECT_NE(0, OsErrorOf([&] { files.WriteFileAtomically(temp / "blocked", "x"); }));
  EXPECT_EQ(2u, ListTree(temp.path()).size());
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.WriteFileAtomically(temp / "no/file", "x"); }));
}

namespace {

std::string ReadAll(InputFile& input) {
  std::string bytes;
  char buffer[7];  // odd size: several reads and a short last one
  while (std::size_t got = input.Read(buffer, sizeof buffer)) bytes.append(buffer, got);
  return bytes;
}

}  // namespace

// Reading is sequential; a folder or a pipe is refused, the pipe without
// waiting for a writer.
TEST(OpenForReadingTest, ReadsSequentiallyAndRefusesWhatIsNoFile) {
  TempFolder temp;
  WriteFile(temp / "a.r00", "0123456789abcdefghij");
  std::unique_ptr<InputFile> input = files.OpenForReading(temp / "a.r00");
  EXPECT_EQ("0123456789abcdefghij", ReadAll(*input));
  EXPECT_EQ(0u, input->Read(nullptr, 0));
  ASSERT_EQ(0, std::system(("mkfifo '" + temp / "pipe" + "'").c_str()));
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { files.OpenForReading(temp / "none"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.OpenForReading(temp.path()); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.OpenForReading(temp / "pipe"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.ReadWholeFile(temp / "pipe"); }));
  EXPECT_FALSE(files.PathExists(temp / "pipe"));
}

TEST(OpenForReadingTest, RefusesAFileOpenForWritingInThisProcess) {
  TempFolder temp;
  const std::string file = temp / "uploading.r01";
  {
    std::ofstream writer(file, std::ios::binary);
    writer << "partial";
    writer.flush();
    EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.OpenForReading(file); }));
  }
  EXPECT_EQ("partial", ReadAll(*files.OpenForReading(file)));
  // Readers elsewhere are no obstacle.
  std::ifstream otherReader(file);
  EXPECT_EQ("partial", ReadAll(*files.OpenForReading(file)));
}

// Where the system refuses the probe for another reason than a writer (a file
// system without leases here, a file of another owner in production), it
// cannot tell: the file counts as being written and is not read.
TEST(OpenForReadingTest, AFileTheProbeCannotAnswerForCountsAsBeingWritten) {
  const std::string withoutLeases = "/proc/version";
  ASSERT_TRUE(files.FileExists(withoutLeases));
  EXPECT_TRUE(files.IsBeingWritten(withoutLeases));
  try {
    files.OpenForReading(withoutLeases);
    ADD_FAILURE() << "read without knowing whether it is being written";
  } catch (const OsError& error) {
    EXPECT_EQ(error.number(), kPermissionDenied);
    EXPECT_NE(std::string(error.what()).find("CAP_LEASE"), std::string::npos) << error.what();
  }
  TempFolder temp;
  EXPECT_FALSE(files.IsBeingWritten(temp / "none"));
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
