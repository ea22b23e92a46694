#include "updater/settings_migration.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace updater {
namespace {

using Lines = std::vector<std::string>;

std::string Crlf(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The new file cut back into lines (each ended by CR LF).
Lines LinesOf(const std::string& text) {
  Lines lines;
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

const Lines kBanner = {
    "##############################################",
    "## ini ready for corvane 1.0.9",
    "## Scripts www: http://www.example.org/corvane",
    "## Forum: http://forum.example.org/corvane",
    "## Contact: support@example.org",
    "##",
    "##This software has been fully tested, however",
    "## if you use it, you do so at your own risk",
    "##############################################",
};

Lines WithBanner(const Lines& sections) {
  Lines lines = kBanner;
  lines.insert(lines.end(), sections.begin(), sections.end());
  return lines;
}

// The line of the new file that sets `key`, or "" when there is none.
std::string LineOf(const std::string& text, const std::string& key) {
  for (const std::string& line : LinesOf(text)) {
    if (line.starts_with(key + "=")) return line;
  }
  return "";
}

TEST(SettingsMigration, EmptyOldFileGivesEveryKeyBlankButTheTwoDefaults) {
  const Lines expected = WithBanner({
      "[Header_Setup]",
      "MK_FOLDER_HEADER=",
      "FILE_HEADER=",
      "MK_FO_HEADER_PARENT=",
      "SHOW_ESTIMATION=",
      "DISABLE_INT_CRC=",
      "ZIP_TIME_WAIT=.25",
      "",
      "[Parent_header_setup]",
      "MULTICD_KEYS=CD1|CD2|CD3|CD4|CD5|CD6|CD7|CD8|CD9|DVD|SAMPLE|EXTRA",
      "MK_PARENT=",
      "UP_TWO_IF_MULTI=",
      "INC_MAKE_IN_PARENT=",
      "COM_MAKE_IN_PARENT=",
      "PARENT_PATH_OVERRIDE_C=",
      "PARENT_PATH_OVERRIDE_I=",
      "",
      "[SFV_setup]",
      "APPEND_MSG_TO_SFV=",
      "",
      "DELETE_SFV_COMMENTS=",
      "KEEP_WSFV_COMP=",
      "",
      "[Error_Setup]",
      "SITECMD=",
      "ON_ERR_MK_FILE=",
      "",
      "[File_Handling Setup]",
      "ISSERVG6=",
      "DONT_HAVE_BAD_AND_MISSING=",
      "HANDLE_BAD_FILES=",
      "CREATE_MISSING=",
      "DELETE_SFV_STATUs_ON_SFV_COMPLETE=",
      "DELETE_SFV_STATUs_ON_UPLOAD=",
      "",
      "[Message_Setup]",
      "SHOW_IND_STATUs_IN_MSG=",
      "OUTPUT_WIDTH=",
      "MSGFILE=",
      "",
      "",
      "[Status_Bar_Setup]",
      "BADMSG=",
      "GOODMSG=",
      "MP3BADMSG=",
      "MP3GOODMSG=",
      "SITENAME=",
      "PERBAR_CHR=",
      "PERBAR_NON=",
      "PERBAR_LEN=",
      "",
      "[Header_deletion_setup]",
      "DEL_NOT_CONTAIN=",
      "DELKEYWORD=",
      "",
      "[CHMODDING_and_LOCKING]",
      "LOCK_FOLDER_IF_COMPLETE=",
      "LOCK_FILES_IF_COMPLETE=",
      "LOCK_USER=",
      "LOCK_GROUP=",
      "LOCK_CHMOD=",
      "CHMOD_SFVSTATUS=",
      "CHMOD_SFVSTATUSU=",
      "CHMOD_SFVSTATUSG=",
  });
  EXPECT_EQ(MigrateSettings({}), Crlf(expected));
  // Comments, headings, unknown and malformed keys carry nothing over.
  EXPECT_EQ(MigrateSettings({"; comment", "[Header_Setup]", "[MK_PARENT=1", "OLD_KEY=1",
                             " SITENAME=x", "SITENAME =x", "=", "no equals sign"}),
            Crlf(expected));
}

TEST(SettingsMigration, FlatOldFileBecomesTheSectionedFileByteForByte) {
  const Lines oldFile = {
      "; settings of an older version, no sections, keys in their own order",
      "CHMOD_SFVSTATUSG=%g",
      "LOCK_CHMOD=444",
      "OLD_REMOVED_KEY=gone",
      "LOCK_USER=admin",
      "CHMOD_SFVSTATUSU=%u",
      "LOCK_FILES_IF_COMPLETE=False",
      "CHMOD_SFVSTATUS=666",
      "LOCK_GROUP=admins",
      "LOCK_GROUP=",
      "LOCK_FOLDER_IF_COMPLETE=True",
      "MK_FOLDER_HEADER=True",
      "file_header=1",
      "MK_FO_HEADER_PARENT=False",
      "SHOW_ESTIMATION=3",
      "DISABLE_INT_CRC=0",
      "ZIP_TIME_WAIT=5",
      "ZIP_TIME_WAIT=",
      "COM_MAKE_IN_PARENT=%r - COMPLETE",
      "PARENT_PATH_OVERRIDE_I=",
      "up_two_if_multi=True",
      "Multicd_Keys=CD1|CD2",
      "PARENT_PATH_OVERRIDE_C=D:\\ftp\\complete",
      "INC_MAKE_IN_PARENT=%r - INCOMPLETE",
      "MK_PARENT=1",
      "APPEND_MSG_TO_SFV=-1",
      "APPEND_MSG=checked by corvane",
      "MSGLINE=first line %s",
      "append_msg=  second  ",
      "DELETE_SFV_COMMENTS=yes",
      "KEEP_WSFV_COMP=true",
      "SITECMD=SITE",
      "ON_ERR_MK_FILE=1abc",
      "[An old section]",
      "ISSERVG6=False",
      "DONT_HAVE_BAD_AND_MISSING=1",
      "HANDLE_BAD_FILES=2",
      "CREATE_MISSING=True",
      "DELETE_SFV_STATUS_ON_SFV_COMPLETE=True",
      "Delete_Sfv_Status_On_Upload=False",
      "SHOW_IND_STATUS_IN_MSG=",
      "OUTPUT_WIDTH=60",
      "MSGFILE=.message",
      "MsgLine=second line",
      "MSGLINE=",
      "BADMSG=[%p] %r incomplete",
      "GOODMSG=first",
      "GOODMSG=[%t of %t] complete=yes ",
      "PERBAR_LEN=10",
      "PERBAR_NON=-",
      "PERBAR_CHR=#",
      "SITENAME=MySite",
      "MP3GOODMSG=mp3 done",
      "MP3BADMSG=",
      "DELKEYWORD=% Complete",
  };
  const Lines expected = WithBanner({
      "[Header_Setup]",
      "MK_FOLDER_HEADER=0",
      "FILE_HEADER=1",
      "MK_FO_HEADER_PARENT=False",
      "SHOW_ESTIMATION=3",
      "DISABLE_INT_CRC=0",
      "ZIP_TIME_WAIT=.25",
      "",
      "[Parent_header_setup]",
      "MULTICD_KEYS=CD1|CD2",
      "MK_PARENT=1",
      "UP_TWO_IF_MULTI=True",
      "INC_MAKE_IN_PARENT=%r - INCOMPLETE",
      "COM_MAKE_IN_PARENT=%r - COMPLETE",
      "PARENT_PATH_OVERRIDE_C=D:\\ftp\\complete",
      "PARENT_PATH_OVERRIDE_I=",
      "",
      "[SFV_setup]",
      "APPEND_MSG_TO_SFV=-1",
      "APPEND_MSG=checked by corvane",
      "APPEND_MSG=  second  ",
      "",
      "DELETE_SFV_COMMENTS=yes",
      "KEEP_WSFV_COMP=true",
      "",
      "[Error_Setup]",
      "SITECMD=SITE",
      "ON_ERR_MK_FILE=1",
      "",
      "[File_Handling Setup]",
      "ISSERVG6=False",
      "DONT_HAVE_BAD_AND_MISSING=1",
      "HANDLE_BAD_FILES=2",
      "CREATE_MISSING=True",
      "DELETE_SFV_STATUs_ON_SFV_COMPLETE=True",
      "DELETE_SFV_STATUs_ON_UPLOAD=False",
      "",
      "[Message_Setup]",
      "SHOW_IND_STATUs_IN_MSG=0",
      "OUTPUT_WIDTH=60",
      "MSGFILE=.message",
      "MSGLINE=first line %s",
      "MSGLINE=second line",
      "MSGLINE=",
      "",
      "",
      "[Status_Bar_Setup]",
      "BADMSG=[%p] %r incomplete",
      "GOODMSG=[%t of %t] complete=yes ",
      "MP3BADMSG=",
      "MP3GOODMSG=mp3 done",
      "SITENAME=MySite",
      "PERBAR_CHR=#",
      "PERBAR_NON=-",
      "PERBAR_LEN=10",
      "",
      "[Header_deletion_setup]",
      "DEL_NOT_CONTAIN=",
      "DELKEYWORD=% Complete",
      "",
      "[CHMODDING_and_LOCKING]",
      "LOCK_FOLDER_IF_COMPLETE=True",
      "LOCK_FILES_IF_COMPLETE=False",
      "LOCK_USER=admin",
      "LOCK_GROUP=",
      "LOCK_CHMOD=444",
      "CHMOD_SFVSTATUS=666",
      "CHMOD_SFVSTATUSU=%u",
      "CHMOD_SFVSTATUSG=%g",
  });
  EXPECT_EQ(MigrateSettings(oldFile), Crlf(expected));
}

TEST(SettingsMigration, NumberFlagsKeepTheNumberAtTheStartOfTheirValue) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"1", "1"},     {"-1", "-1"},   {"True", "0"},  {"", "0"},    {"5 apples", "5"},
      {"0.5", "0.5"}, {"&H10", "16"}, {" 1 2", "12"}, {"yes", "0"}, {"-0", "0"},
  };
  for (const auto& [value, written] : cases) {
    const std::string text = MigrateSettings(
        {"MK_FOLDER_HEADER=" + value, "APPEND_MSG_TO_SFV=" + value, "ON_ERR_MK_FILE=" + value,
         "SHOW_IND_STATUS_IN_MSG=" + value, "DEL_NOT_CONTAIN=" + value});
    EXPECT_EQ(LineOf(text, "MK_FOLDER_HEADER"), "MK_FOLDER_HEADER=" + written) << value;
    EXPECT_EQ(LineOf(text, "APPEND_MSG_TO_SFV"), "APPEND_MSG_TO_SFV=" + written) << value;
    EXPECT_EQ(LineOf(text, "ON_ERR_MK_FILE"), "ON_ERR_MK_FILE=" + written) << value;
    EXPECT_EQ(LineOf(text, "SHOW_IND_STATUs_IN_MSG"), "SHOW_IND_STATUs_IN_MSG=" + written) << value;
    EXPECT_EQ(LineOf(text, "DEL_NOT_CONTAIN"), "DEL_NOT_CONTAIN=" + written) << value;
  }
  // Other kinds keep their text, even where the checker would reject it.
  EXPECT_EQ(LineOf(MigrateSettings({"FILE_HEADER=True"}), "FILE_HEADER"), "FILE_HEADER=True");
  EXPECT_EQ(LineOf(MigrateSettings({"OUTPUT_WIDTH=40000"}), "OUTPUT_WIDTH"), "OUTPUT_WIDTH=40000");
}

TEST(SettingsMigration, UpdatingTheUpdatedFileChangesOnlyEmptyNumberFlags) {
  // The shipped sample is the updater's own output, so updating it changes
  // nothing (every number flag is given, none is written empty).
  std::ifstream in(CORVANE_SOURCE_DIR "/corvane.ini", std::ios::binary);
  const std::string shipped{std::istreambuf_iterator<char>(in), {}};
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(MigrateSettings(LinesOf(shipped)), shipped);

  // A number flag written empty (the old file lacked it) comes back as 0.
  const std::string blank = MigrateSettings({});
  const std::string again = MigrateSettings(LinesOf(blank));
  EXPECT_EQ(LineOf(again, "MK_FOLDER_HEADER"), "MK_FOLDER_HEADER=0");
  EXPECT_EQ(LineOf(again, "SHOW_IND_STATUs_IN_MSG"), "SHOW_IND_STATUs_IN_MSG=0");
  EXPECT_EQ(LineOf(again, "FILE_HEADER"), "FILE_HEADER=");
}

}  // namespace
}  // namespace updater
