// The message file: the waiting note, the final message and its permission
// change, on a real release folder.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "checker/run/phases.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

TEST(MessageFile, WaitNoteOnlyWhereNoMessageIs) {
  DisplayRun d;
  d.settings.MSGFILE = ".message";
  const std::string message = d.InRelease(".message");
  WriteWaitMessage(d.run);
  EXPECT_EQ(support::ReadFile(message),
            "SFV currently being checked.\r\nPlease wait a minute for it to complete.\r\n");
  support::WriteFile(message, "from elsewhere");
  WriteWaitMessage(d.run);
  EXPECT_EQ(support::ReadFile(message), "from elsewhere");
  d.settings.MSGFILE = "";
  WriteWaitMessage(d.run);
  EXPECT_EQ(support::ListTree(d.run.releaseDir), std::vector<std::string>{".message"});
}

// The result lines, then the template lines that are not empty; the
// permission change is always made for ".message".
TEST(MessageFile, ResultAndTemplateLines) {
  struct Row {
    const char* name;
    std::string file;  // MSGFILE
    std::vector<std::string> lines;
    std::optional<std::string> content;  // of MSGFILE afterwards; nullopt: none
    int error;
  };
  const Row rows[] = {
      {"result and template lines",
       ".message",
       {"%g of %t files good", "%@complete only", "[%p]"},
       "CRC OK  : a.r00\r\nMISSING : a.r01\r\n\r\n7 of 10 files good\r\n[XXXXXXXooo]\r\n\r\n",
       0},
      {"no message file", "", {"%t"}, std::nullopt, 0},
      {"failed expansion keeps the old message",
       ".message",
       {"%n%%", "%t"},
       "an older message that is longer than the new one",
       platform::kDivisionByZero},
      {"unacceptable name", "msg?", {"%t"}, std::nullopt, platform::kPathFileAccessError},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayRun d;
    d.settings.MSGFILE = row.file;
    d.settings.SHOW_IND_STATUS_IN_MSG = true;
    d.settings.messageLines = row.lines;
    d.run.resultReport = "CRC OK  : a.r00\r\nMISSING : a.r01\r\n";
    if (row.file == ".message") {
      support::WriteFile(d.InRelease(".message"),
                         "an older message that is longer than the new one");
    }
    if (row.error == platform::kDivisionByZero) d.SetCounts(0, 0);
    EXPECT_EQ(OsErrorOf([&] { WriteMessageFile(d.run); }), row.error);
    EXPECT_EQ(support::ListTree(d.run.releaseDir),
              row.content ? std::vector<std::string>{row.file} : std::vector<std::string>{});
    if (row.content) {
      EXPECT_EQ(support::ReadFile(d.InRelease(row.file)), *row.content);
    }
    if (row.error == 0) {
      EXPECT_EQ(d.PermissionCalls(),
                (std::vector<PermissionCall>{{"555", "bob", "grp", d.InRelease(".message"), 1}}));
    }
  }
}

}  // namespace
}  // namespace display_test
