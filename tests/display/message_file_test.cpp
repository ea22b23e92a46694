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
    d.run.settings.MSGFILE = ".message";
    d.run.resultReport = "CRC OK  : a.r00\r\nMISSING : a.r01\r\n";
  }
  std::string Message() const { return e2e::ReadFile(d.InRelease(".message")); }
  DisplayRun d;
};

TEST_F(MessageFile, WaitNoteOnlyWhereNoMessageIs) {
  WriteWaitMessage(d.run);
  EXPECT_EQ(Message(),
            "SFV currently being checked.\r\nPlease wait a minute for it to complete.\r\n");
  e2e::WriteFile(d.InRelease(".message"), "from elsewhere");
  WriteWaitMessage(d.run);
  EXPECT_EQ(Message(), "from elsewhere");
  d.run.settings.MSGFILE = "";
  WriteWaitMessage(d.run);
  EXPECT_EQ(e2e::ListTree(d.run.releaseDir), std::vector<std::string>{".message"});
}

TEST_F(MessageFile, ResultLinesThenNonEmptyTemplateLines) {
  d.run.settings.SHOW_IND_STATUS_IN_MSG = true;
  d.run.settings.messageLines = {"%g of %t files good", "%@complete only", "[%p]"};
  e2e::WriteFile(d.InRelease(".message"), "an older message that is longer than the new one");
  WriteMessageFile(d.run);
  EXPECT_EQ(Message(),
            "CRC OK  : a.r00\r\nMISSING : a.r01\r\n\r\n7 of 10 files good\r\n[XXXXXXXooo]\r\n\r\n");
  EXPECT_EQ(PermissionCalls(),
            (std::vector<PermissionCall>{{"555", "bob", "grp", d.InRelease(".message"), 1}}));
  EXPECT_EQ(d.run.errorContext.action, "Writing to message file");
  EXPECT_EQ(d.run.errorContext.solution,
            "Make sure your MSGFILE (defined in corvane.ini) does not contain any of these "
            "characters /\\:*?<>|\"");
}

TEST_F(MessageFile, NothingButEmptyLines) {
  d.run.settings.messageLines = {"%@only when complete"};
  WriteMessageFile(d.run);
  EXPECT_EQ(Message(), "\r\n");
}

TEST_F(MessageFile, OtherNameStillChangesDotMessage) {
  d.run.settings.MSGFILE = "status.txt";
  d.run.settings.messageLines = {"%t"};
  WriteMessageFile(d.run);
  EXPECT_EQ(e2e::ReadFile(d.InRelease("status.txt")), "10\r\n\r\n");
  EXPECT_EQ(PermissionCalls().at(0).path, d.InRelease(".message"));

  DisplayRun none;
  none.run.settings.MSGFILE = "";
  WriteMessageFile(none.run);
  EXPECT_TRUE(e2e::ListTree(none.run.releaseDir).empty());
  EXPECT_EQ(PermissionCalls().at(0).path, none.InRelease(".message"));
}

TEST_F(MessageFile, FailedExpansionKeepsTheOldMessage) {
  e2e::WriteFile(d.InRelease(".message"), "old");
  d.SetCounts(0, 0);
  d.run.settings.messageLines = {"%n%%"};
  EXPECT_EQ(ErrorNumberOf([&] { WriteMessageFile(d.run); }), platform::kDivisionByZero);
  EXPECT_EQ(e2e::ListTree(d.run.releaseDir), std::vector<std::string>{".message"});
  EXPECT_EQ(Message(), "old");
}

TEST_F(MessageFile, UnacceptableNameFails) {
  d.run.settings.MSGFILE = "msg?";
  EXPECT_NE(ErrorNumberOf([&] { WriteMessageFile(d.run); }), 0);
  EXPECT_TRUE(e2e::ListTree(d.run.releaseDir).empty());
}

}  // namespace
}  // namespace display_test
