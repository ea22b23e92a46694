// The message file: the waiting note, the final message and its permission
// change, on a real release folder.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

class MessageFile : public ::testing::Test {
 protected:
  MessageFile() {
    d.settings.MSGFILE = ".message";
    d.run.resultReport = "CRC OK  : a.r00\r\nMISSING : a.r01\r\n";
  }
  std::string Message() const { return support::ReadFile(d.InRelease(".message")); }
  DisplayRun d;
};

TEST_F(MessageFile, WaitNoteOnlyWhereNoMessageIs) {
  WriteWaitMessage(d.run);
  EXPECT_EQ(Message(),
            "SFV currently being checked.\r\nPlease wait a minute for it to complete.\r\n");
  support::WriteFile(d.InRelease(".message"), "from elsewhere");
  WriteWaitMessage(d.run);
  EXPECT_EQ(Message(), "from elsewhere");
  d.settings.MSGFILE = "";
  WriteWaitMessage(d.run);
  EXPECT_EQ(support::ListTree(d.run.releaseDir), std::vector<std::string>{".message"});
}

TEST_F(MessageFile, ResultLinesThenNonEmptyTemplateLines) {
  d.settings.SHOW_IND_STATUS_IN_MSG = true;
  d.settings.messageLines = {"%g of %t files good", "%@complete only", "[%p]"};
  support::WriteFile(d.InRelease(".message"), "an older message that is longer than the new one");
  WriteMessageFile(d.run);
  EXPECT_EQ(Message(),
            "CRC OK  : a.r00\r\nMISSING : a.r01\r\n\r\n7 of 10 files good\r\n[XXXXXXXooo]\r\n\r\n");
  EXPECT_EQ(d.PermissionCalls(),
            (std::vector<PermissionCall>{{"555", "bob", "grp", d.InRelease(".message"), 1}}));
  EXPECT_EQ(d.run.errorContext.action, "Writing to message file");
  EXPECT_EQ(d.run.errorContext.solution,
            "Make sure your MSGFILE (defined in corvane.ini) does not contain any of these "
            "characters /\\:*?<>|\"");
}

TEST_F(MessageFile, NothingButEmptyLines) {
  d.settings.messageLines = {"%@only when complete"};
  WriteMessageFile(d.run);
  EXPECT_EQ(Message(), "\r\n");
}

TEST_F(MessageFile, OtherNameStillChangesDotMessage) {
  d.settings.MSGFILE = "status.txt";
  d.settings.messageLines = {"%t"};
  WriteMessageFile(d.run);
  EXPECT_EQ(support::ReadFile(d.InRelease("status.txt")), "10\r\n\r\n");
  EXPECT_EQ(d.PermissionCalls().at(0).path, d.InRelease(".message"));

  DisplayRun none;
  none.settings.MSGFILE = "";
  WriteMessageFile(none.run);
  EXPECT_TRUE(support::ListTree(none.run.releaseDir).empty());
  EXPECT_EQ(none.PermissionCalls().at(0).path, none.InRelease(".message"));
}

TEST_F(MessageFile, FailedExpansionKeepsTheOldMessage) {
  support::WriteFile(d.InRelease(".message"), "old");
  d.SetCounts(0, 0);
  d.settings.messageLines = {"%n%%"};
  EXPECT_EQ(OsErrorOf([&] { WriteMessageFile(d.run); }), platform::kDivisionByZero);
  EXPECT_EQ(support::ListTree(d.run.releaseDir), std::vector<std::string>{".message"});
  EXPECT_EQ(Message(), "old");
}

TEST_F(MessageFile, UnacceptableNameFails) {
  d.settings.MSGFILE = "msg?";
  EXPECT_NE(OsErrorOf([&] { WriteMessageFile(d.run); }), 0);
  EXPECT_TRUE(support::ListTree(d.run.releaseDir).empty());
}

}  // namespace
}  // namespace display_test
