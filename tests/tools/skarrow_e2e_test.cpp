// skarrow as the server's configuration starts it: the built program in a
// program folder with corvane.ini, one status store path on its command line.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"

namespace {

TEST(Skarrow, RemovesTheRecordedFoldersSilently) {
  constexpr const char* kStore = "1100\r\nbob\r\n[##--] 2 of 4\r\nMy Rel - incomplete\r\n";
  support::TempFolder site;
  const std::string parent = site / "ftp/movies";
  // A blank in the release name: the server's line is split into several
  // arguments, which skarrow joins back.
  const std::string store = parent + "/My Rel/.sfvStatus";
  support::WriteFile(store, kStore);
  const std::string entries[] = {parent + "/[##--] 2 of 4", parent + "/My Rel - incomplete"};
  for (const std::string& entry : entries) support::MakeFolder(entry);

  e2e::ProgramFolder programs({});
  // Whatever the line, skarrow ends with exit status 0 and nothing on screen.
  for (const std::string& line : {std::string(), store + " extra", store}) {
    const e2e::RunResult run = programs.Run(line, "skarrow");
    EXPECT_EQ(run.exitStatus, 0) << "[" << line << "]";
    EXPECT_EQ(run.errorOutput, "") << "[" << line << "]";
    for (const std::string& entry : entries) {
      EXPECT_EQ(support::Exists(entry), line != store) << "[" << line << "] " << entry;
    }
  }
  EXPECT_EQ(support::ReadFile(store), kStore);
}

}  // namespace
