// brellun as operators run it: the terminal update in a program folder.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"

namespace {

TEST(BrellunTerminal, UpdatesTheFileItIsGiven) {
  e2e::ProgramFolder programs({"MK_FOLDER_HEADER=True", "MSGLINE=hello"});
  const std::string settings = programs.path() + "/corvane.ini";
  const e2e::RunResult run = programs.Run("--update " + settings + " --keep-old", "brellun");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.errorOutput, "");
  EXPECT_EQ(support::ReadFile(settings + ".old"), "MK_FOLDER_HEADER=True\r\nMSGLINE=hello\r\n");
  EXPECT_NE(support::ReadFile(settings).find("\r\nMSGLINE=hello\r\n"), std::string::npos);
}

}  // namespace
