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
  // It deletes any status store a user uploads, so none can be planted through the server.
  EXPECT_NE(shipped.find("\r\nDELETE_SFV_STATUs_ON_UPLOAD=True\r\n"), std::string::npos);
}

TEST(SettingsMigration, CarriesEachOldValueOver) {
  struct Row {
    Lines old;
    std::string key;  // as the new file spells it
    Lines written;    // every line of the new file that sets it
  };
  const Row rows[] = {
      {{}, "SITENAME", {"SITENAME="}},
      {{"GOODMSG=first", "goodmsg=last "}, "GOODMSG", {"GOODMSG=last "}},
      {{"; SITENAME=a", " SITENAME=c", "SITENAME =d", "OLD_KEY=e", "="}, "SITENAME", {"SITENAME="}},
      {{"MSGLINE=a %s", "OUTPUT_WIDTH=1", "MsgLine=b", "MSGLINE="},
       "MSGLINE",
       {"MSGLINE=a %s", "MSGLINE=b", "MSGLINE="}},
      {{"ZIP_TIME_WAIT=5", "ZIP_TIME_WAIT="}, "ZIP_TIME_WAIT", {"ZIP_TIME_WAIT=.25"}},
      // Number flags keep the number at the start of their value; other kinds
      // keep their text.
      {{"MK_FOLDER_HEADER=True"}, "MK_FOLDER_HEADER", {"MK_FOLDER_HEADER=0"}},
      {{"ON_ERR_MK_FILE=1abc"}, "ON_ERR_MK_FILE", {"ON_ERR_MK_FILE=1"}},
      {{"FILE_HEADER=True"}, "FILE_HEADER", {"FILE_HEADER=True"}},
  };
  for (const Row& row : rows) {
    Lines written;
    for (const std::string& line : LinesOf(MigrateSettings(row.old))) {
      if (line.starts_with(row.key + "=")) written.push_back(line);
    }
    EXPECT_EQ(written, row.written) << testing::PrintToString(row.old);
  }
}

}  // namespace
}  // namespace updater
