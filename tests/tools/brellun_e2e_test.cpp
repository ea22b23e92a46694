// brellun as operators run it: the terminal update in a program folder, and
// the window on a virtual display.
#include <gtest/gtest.h>

#include <cstdlib>
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

TEST(BrellunWindow, OpensOnAVirtualDisplay) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "xvfb-run is not installed";
  }
  support::TempFolder folder;
  const std::string output = folder / "output.txt";
  const std::string command = "xvfb-run -a '" + std::string(CORVANE_BIN_DIR) +
                              "/brellun' --selftest >'" + output + "' 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << support::ReadFile(output);
  EXPECT_NE(support::ReadFile(output).find("frmMain shown: corvane INI updater"), std::string::npos)
      << support::ReadFile(output);
}

}  // namespace
