// What the programs answer an operator at a terminal: each option alone on the
// command line, with its exit status and text, and nothing made anywhere.
#include <gtest/gtest.h>

#include "tests/e2e/site.h"

namespace e2e {
namespace {

TEST(OperatorOptions, AnswerOnTheTerminalAndMakeNothing) {
  const struct {
    std::string program;
    std::string commandLine;
    int exitStatus;
    bool toError;          // the text is on standard error, not standard output
    std::string expected;  // a part of the text
  } calls[] = {
      {"corvane", "--version", 0, false, "corvane 1.0.9"},
      {"corvane", "--help", 0, false, "corvane.exe %^\\%= %> -u:%S -l:%V -s:%M"},
      {"corvane", "", 0, true, "corvane --check-settings [PATH]"},
      {"corvane", "--check-settings", 1, false, "! nearest known key: MSGFILE"},
      {"skarrow", "--help", 0, false, ".sfvStatus"},
      {"permreg", "--version", 0, false, "permreg 1.0.9"},
      {"brellun", "--help", 0, false, "brellun --update PATH [--keep-old]"},
  };
  Site site({"MSG_FILE=.message"});
  // The program folder's files, without the command-line files of the wine launcher.
  auto programFiles = [&] {
    std::vector<std::string> files = support::ListTree(site.programs().path());
    std::erase_if(files, [](const std::string& name) { return name.starts_with("command-line-"); });
    return files;
  };
  const std::vector<std::string> programFolder = programFiles();
  const std::vector<std::string> section = site.Tree();
  for (const auto& call : calls) {
    // The Windows build has regsvr32 instead of permreg.
    if (UnderWine() && call.program == "permreg") continue;
    SCOPED_TRACE(call.program + " " + call.commandLine);
    const RunResult result = site.programs().Run(call.commandLine, call.program);
    EXPECT_EQ(result.exitStatus, call.exitStatus);
    const std::string& text = call.toError ? result.errorOutput : result.output;
    EXPECT_NE(text.find(call.expected), std::string::npos) << text;
    EXPECT_EQ(programFiles(), programFolder);
    EXPECT_EQ(site.Tree(), section);
    EXPECT_TRUE(support::ListTree(site.programs().workingFolder()).empty());
  }
}

}  // namespace
}  // namespace e2e
