#include "updater/settings_migration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/files.h"

namespace updater {
namespace {

using Lines = std::vector<std::string>;

// The new file cut back into lines (each ended by CR LF).
Lines LinesOf(const std::string& text) {
  Lines lines;
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The shipped sample is the updater's own output: updating it gives it back
// byte for byte, banner, sections, blank lines and repeated keys included.
TEST(SettingsMigration, TheShippedFileIsItsOwnUpdate) {
  const std::string shipped = support::ReadFile(CORVANE_SOURCE_DIR "/corvane.ini");
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(MigrateSettings(LinesOf(shipped)), shipped);
}

TEST(SettingsMigration, CarriesEachOldValueOver) {
  struct Row {
    const char* name;
    Lines old;
    std::string key;  // as the new file spells it
    Lines written;    // every line of the new file that sets it
  };
  const Row rows[] = {
      {"missing key", {}, "SITENAME", {"SITENAME="}},
      {"last value wins", {"GOODMSG=first", "GOODMSG=last "}, "GOODMSG", {"GOODMSG=last "}},
      {"any letter case", {"file_header=1"}, "FILE_HEADER", {"FILE_HEADER=1"}},
      {"not a key",
       {"; SITENAME=a", "[SITENAME=b", " SITENAME=c", "SITENAME =d", "OLD_KEY=e", "="},
       "SITENAME",
       {"SITENAME="}},
      {"repeated key keeps every line",
       {"MSGLINE=a %s", "OUTPUT_WIDTH=1", "MsgLine=b", "MSGLINE="},
       "MSGLINE",
       {"MSGLINE=a %s", "MSGLINE=b", "MSGLINE="}},
      {"comment lines too",
       {"APPEND_MSG=one", "append_msg=  two  "},
       "APPEND_MSG",
       {"APPEND_MSG=one", "APPEND_MSG=  two  "}},
      {"empty wait gets its default",
       {"ZIP_TIME_WAIT=5", "ZIP_TIME_WAIT="},
       "ZIP_TIME_WAIT",
       {"ZIP_TIME_WAIT=.25"}},
      {"missing disk keys get theirs",
       {},
       "MULTICD_KEYS",
       {"MULTICD_KEYS=CD1|CD2|CD3|CD4|CD5|CD6|CD7|CD8|CD9|DVD|SAMPLE|EXTRA"}},
      {"given disk keys stay", {"Multicd_Keys=CD1|CD2"}, "MULTICD_KEYS", {"MULTICD_KEYS=CD1|CD2"}},
      {"lower-case s",
       {"DELETE_SFV_STATUS_ON_UPLOAD=False"},
       "DELETE_SFV_STATUs_ON_UPLOAD",
       {"DELETE_SFV_STATUs_ON_UPLOAD=False"}},
      // Number flags keep the number at the start of their value.
      {"number flag missing", {}, "MK_FOLDER_HEADER", {"MK_FOLDER_HEADER="}},
      {"number flag empty", {"MK_FOLDER_HEADER="}, "MK_FOLDER_HEADER", {"MK_FOLDER_HEADER=0"}},
      {"number flag True", {"MK_FOLDER_HEADER=True"}, "MK_FOLDER_HEADER", {"MK_FOLDER_HEADER=0"}},
      {"number flag -1", {"APPEND_MSG_TO_SFV=-1"}, "APPEND_MSG_TO_SFV", {"APPEND_MSG_TO_SFV=-1"}},
      {"number flag 1abc", {"ON_ERR_MK_FILE=1abc"}, "ON_ERR_MK_FILE", {"ON_ERR_MK_FILE=1"}},
      {"number flag &H10",
       {"SHOW_IND_STATUS_IN_MSG=&H10"},
       "SHOW_IND_STATUs_IN_MSG",
       {"SHOW_IND_STATUs_IN_MSG=16"}},
      {"number flag blanks", {"DEL_NOT_CONTAIN= 1 2"}, "DEL_NOT_CONTAIN", {"DEL_NOT_CONTAIN=12"}},
      {"number flag 0.5", {"MK_FOLDER_HEADER=0.5"}, "MK_FOLDER_HEADER", {"MK_FOLDER_HEADER=0.5"}},
      {"number flag -0", {"MK_FOLDER_HEADER=-0"}, "MK_FOLDER_HEADER", {"MK_FOLDER_HEADER=0"}},
      // Other kinds keep their text, even where the checker would reject it.
      {"yes/no text", {"FILE_HEADER=True"}, "FILE_HEADER", {"FILE_HEADER=True"}},
      {"number text", {"OUTPUT_WIDTH=40000"}, "OUTPUT_WIDTH", {"OUTPUT_WIDTH=40000"}},
  };
  for (const Row& row : rows) {
    Lines written;
    for (const std::string& line : LinesOf(MigrateSettings(row.old))) {
      if (line.starts_with(row.key + "=")) written.push_back(line);
    }
    EXPECT_EQ(written, row.written) << row.name;
  }
}

}  // namespace
}  // namespace updater
