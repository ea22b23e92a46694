#include "settings/checker_settings.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

using namespace settings;

namespace {

CheckerSettings Load(std::initializer_list<std::string> lines) {
  return LoadSettingsFromLines(std::vector<std::string>(lines));
}

}  // namespace

TEST(LoadSettings, KeysMatchWithoutCaseButNotWithBlanks) {
  EXPECT_EQ(Load({"goodmsg=Done"}).GOODMSG, "Done");
  EXPECT_EQ(Load({"GOODMSG =Done"}).GOODMSG, "");
  EXPECT_EQ(Load({" GOODMSG=Done"}).GOODMSG, "");
  EXPECT_EQ(Load({"GOODMSG=a=b"}).GOODMSG, "a=b");
  EXPECT_EQ(Load({"GOODMSG=  x  "}).GOODMSG, "  x  ");
  EXPECT_EQ(Load({"[Headers] GOODMSG=x"}).GOODMSG, "");
  EXPECT_EQ(Load({"=", "[x]", "GOODMSG"}).GOODMSG, "");
  EXPECT_EQ(Load({"UNKNOWN=1", "MSGFILE=.message"}).MSGFILE, ".message");
}

TEST(LoadSettings, LaterLinesWinAndRepeatableKeysCollect) {
  CheckerSettings s = Load({"GOODMSG=first", "[Section]", "GOODMSG=second", "APPEND_MSG=a",
                            "append_msg=b", "MSGLINE=one", "MSGLINE=", "MSGLINE=three"});
  EXPECT_EQ(s.GOODMSG, "second");
  EXPECT_EQ(s.sfvCommentBlock, ";a\r\n;b\r\n");
  EXPECT_EQ(s.messageLines, (std::vector<std::string>{"one", "", "three"}));
}

TEST(LoadSettings, NumberFlagTakesTheLeadingNumber) {
  EXPECT_FALSE(Load({"MK_FOLDER_HEADER=True"}).MK_FOLDER_HEADER);
  EXPECT_FALSE(Load({"MK_FOLDER_HEADER=yes"}).MK_FOLDER_HEADER);
  EXPECT_FALSE(Load({"MK_FOLDER_HEADER="}).MK_FOLDER_HEADER);
  EXPECT_FALSE(Load({"MK_FOLDER_HEADER=1", "MK_FOLDER_HEADER=True"}).MK_FOLDER_HEADER);
  for (const char* value : {"1", "-1", "5", "0.5", "1abc", " 1", "&H1"}) {
    EXPECT_TRUE(Load({std::string("ON_ERR_MK_FILE=") + value}).ON_ERR_MK_FILE) << value;
  }
}

TEST(LoadSettings, YesNoRejectsWordsOtherThanTrueAndFalse) {
  EXPECT_FALSE(Load({"FILE_HEADER=yes"}).FILE_HEADER);
  EXPECT_TRUE(Load({"FILE_HEADER=1"}).FILE_HEADER);
  EXPECT_TRUE(Load({"FILE_HEADER=true"}).FILE_HEADER);
  EXPECT_TRUE(Load({"FILE_HEADER=True", "FILE_HEADER=yes"}).FILE_HEADER);
  EXPECT_TRUE(Load({"FILE_HEADER=True", "FILE_HEADER="}).FILE_HEADER);
  EXPECT_FALSE(Load({"FILE_HEADER=True", "FILE_HEADER=FALSE"}).FILE_HEADER);
  EXPECT_FALSE(Load({"FILE_HEADER=True", "FILE_HEADER=0"}).FILE_HEADER);
}

TEST(LoadSettings, WholeNumbersRoundHalvesToEvenWithinSixteenBits) {
  EXPECT_EQ(Load({"OUTPUT_WIDTH=40000"}).OUTPUT_WIDTH, 0);
  EXPECT_EQ(Load({"OUTPUT_WIDTH="}).OUTPUT_WIDTH, 0);
  EXPECT_EQ(Load({"OUTPUT_WIDTH=60", "OUTPUT_WIDTH=wide"}).OUTPUT_WIDTH, 60);
  EXPECT_EQ(Load({"ZIP_TIME_WAIT=.25"}).ZIP_TIME_WAIT, 0);
  EXPECT_EQ(Load({"ZIP_TIME_WAIT=2.5"}).ZIP_TIME_WAIT, 2);
  EXPECT_EQ(Load({"ZIP_TIME_WAIT=3.5"}).ZIP_TIME_WAIT, 4);
  EXPECT_EQ(Load({"HANDLE_BAD_FILES= 2 "}).HANDLE_BAD_FILES, 2);
  EXPECT_EQ(Load({"HANDLE_BAD_FILES=-32768"}).HANDLE_BAD_FILES, -32768);
}

TEST(LoadSettings, DecimalNumbersAreSingles) {
  EXPECT_EQ(Load({"PERBAR_LEN=10"}).PERBAR_LEN, 10.0f);
  EXPECT_EQ(Load({"SHOW_ESTIMATION=2.5"}).SHOW_ESTIMATION, 2.5f);
  EXPECT_EQ(Load({"PERBAR_LEN=0.1"}).PERBAR_LEN, 0.1f);
  EXPECT_EQ(Load({"PERBAR_LEN=20", "PERBAR_LEN=1e39"}).PERBAR_LEN, 20.0f);
  EXPECT_EQ(Load({"PERBAR_LEN=20", "PERBAR_LEN=ten"}).PERBAR_LEN, 20.0f);
  EXPECT_EQ(Load({"PERBAR_LEN=20", "PERBAR_LEN="}).PERBAR_LEN, 20.0f);
}

TEST(LoadSettings, PostLoadRules) {
  CheckerSettings s = Load({"MK_PARENT=2", "UP_TWO_IF_MULTI=True"});
  EXPECT_FALSE(s.UP_TWO_IF_MULTI);
  EXPECT_TRUE(Load({"MK_PARENT=1", "UP_TWO_IF_MULTI=True"}).UP_TWO_IF_MULTI);
  EXPECT_FALSE(Load({"UP_TWO_IF_MULTI=True", "MK_PARENT=1.5"}).UP_TWO_IF_MULTI);

  s = Load({"DELETE_SFV_STATUS_ON_SFV_COMPLETE=True", "COM_MAKE_IN_PARENT=%r - COMPLETE"});
  EXPECT_FALSE(s.DELETE_SFV_STATUS_ON_SFV_COMPLETE);
  EXPECT_TRUE(Load({"DELETE_SFV_STATUS_ON_SFV_COMPLETE=True"}).DELETE_SFV_STATUS_ON_SFV_COMPLETE);
}

TEST(SettingsFile, LoadsFromTheProgramFolderAndFailsWithoutOne) {
  support::TempFolder folder;
  EXPECT_NE(support::OsErrorOf([&] { LoadSettings(platform::SystemFileSystem(), folder.path()); }),
            0);
  support::WriteFile(folder / "corvane.ini",
                     "[General]\r\nMK_FOLDER_HEADER=1\r\nMULTICD_KEYS=CD1|CD2\r\n"
                     "[Message]\r\nMSGLINE=line one\r\nmsgline=line two\nMSGFILE=.message");
  CheckerSettings s = LoadSettings(platform::SystemFileSystem(), folder.path());
  EXPECT_TRUE(s.MK_FOLDER_HEADER);
  EXPECT_EQ(s.MULTICD_KEYS, "CD1|CD2");
  EXPECT_EQ(s.messageLines, (std::vector<std::string>{"line one", "line two"}));
  EXPECT_EQ(s.MSGFILE, ".message");
}
