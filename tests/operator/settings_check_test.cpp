// The settings check's findings, one row per way a line can be read otherwise
// than its writer meant, and its preview of the templates in each sample state.
#include "checker/operator/settings_check.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace {

struct CheckCase {
  std::vector<std::string> lines;  // @TMP@ stands for an existing folder
  std::string finding;             // a part of the report
  int exitStatus;
};

class SettingsCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SettingsCheck, FindsWhatWouldFail) {
  support::TempFolder folder;
  std::vector<std::string> lines = GetParam().lines;
  for (std::string& line : lines) {
    if (const std::size_t at = line.find("@TMP@"); at != std::string::npos)
      line.replace(at, 5, folder.path());
  }
  std::string report;
  EXPECT_EQ(CheckSettings(platform::SystemFileSystem(), lines, report), GetParam().exitStatus);
  EXPECT_NE(report.find(GetParam().finding), std::string::npos) << report;
  if (GetParam().exitStatus == 0) {
    EXPECT_EQ(report.find("! "), std::string::npos) << report;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsCheck,
    ::testing::Values(
        CheckCase{{"MSG_FILE=.message"}, "! nearest known key: MSGFILE", 1},
        CheckCase{{"GOODMSG =Done"}, "! the blanks around \"=\" belong to the key", 1},
        CheckCase{{"ON_ERR_MK_FILE=True"}, "! \"True\" reads as off", 1},
        CheckCase{{"MK_FOLDER_HEADER=yes"}, "! \"yes\" reads as off", 1},
        CheckCase{{"FILE_HEADER=yes"}, "! \"yes\" is not True, False or a number", 1},
        CheckCase{{"ZIP_TIME_WAIT=.25"}, "note: \".25\" is rounded to 0", 0},
        CheckCase{{"MK_PARENT=2", "UP_TWO_IF_MULTI=True"},
                  "note: UP_TWO_IF_MULTI ends off by the rules",
                  0},
        CheckCase{{"BADMSG=%g/%t"},
                  "! BADMSG gives \"1/5\" for \"1 of 5 good\", which cannot name a folder or "
                  "file: the platform refuses \"/\" in names",
                  1},
        CheckCase{{"SITENAME=a:b", "COM_MAKE_IN_PARENT=%s"}, "refuses \":\" in names", 1},
        CheckCase{
            {"INC_MAKE_IN_PARENT=%<%g%>5"}, "a column group has no \"#\" after its \"%>\"", 1},
        CheckCase{{"MSGLINE=a%#"}, "a \"%#\" is not followed by a digit", 1},
        CheckCase{{"MSGLINE=%>5# %<ab"}, "a \"%>\" stands before its \"%<\"", 1},
        CheckCase{{"GOODMSG=done"},
                  "note: a release whose SFV lists no files makes every template that gets "
                  "past \"%@\" fail",
                  0},
        CheckCase{{"MSGFILE=a|b"}, "! MSGFILE cannot name the message file", 1},
        CheckCase{{"PARENT_PATH_OVERRIDE_C=@TMP@/gone"}, "names no folder", 1},
        CheckCase{{"PARENT_PATH_OVERRIDE_I=@TMP@/"}, "ends with a separator", 1},
        CheckCase{{"PARENT_PATH_OVERRIDE_I=@TMP@", "[Setup]", "; comment"}, "section heading", 0},
        // The preview of the templates, headings of the sample states included.
        CheckCase{{"BADMSG=%g of %t", "GOODMSG=all %t, %l each"},
                  "1 of 5 good:\n  BADMSG:             1 of 5\n"
                  "4 of 5 good, 1 bad:\n  BADMSG:             4 of 5\n"
                  "complete:\n  GOODMSG:            all 5, 100 each\n",
                  0},
        CheckCase{{"GOODMSG=%RU"}, "  GOODMSG:            alice\n                      bob\n", 1}));

}  // namespace
