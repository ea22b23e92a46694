#include "updater/settings_update.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "updater/settings_migration.h"

namespace updater {
namespace {

using support::Exists;
using support::ReadFile;
using support::WriteFile;

constexpr const char* kOldContent = "; old\r\nMK_FOLDER_HEADER=1\r\nSITENAME=Site\r\n";

TEST(SettingsFileName, OnlyExactlyCorvaneIniIsAccepted) {
  EXPECT_TRUE(IsSettingsFileName("/srv/corvane/corvane.ini"));
  EXPECT_TRUE(IsSettingsFileName("corvane.ini"));
  EXPECT_FALSE(IsSettingsFileName("/srv/corvane/Corvane.ini"));
  EXPECT_FALSE(IsSettingsFileName("/srv/corvane/corvane.ini.old"));
  EXPECT_FALSE(IsSettingsFileName("/srv/corvane.ini/settings.ini"));
  EXPECT_FALSE(IsSettingsFileName("/srv/corvane/"));
}

class SettingsUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFile(path, kOldContent); }

  platform::FileSystem& files = platform::SystemFileSystem();
  support::TempFolder folder;
  const std::string path = folder / "corvane.ini";
  const std::string migrated = MigrateSettings({"; old", "MK_FOLDER_HEADER=1", "SITENAME=Site"});
};

TEST_F(SettingsUpdateTest, RewritesTheFileInPlace) {
  EXPECT_EQ(UpdateSettingsFile(files, path, false).backupPath, "");
  EXPECT_EQ(ReadFile(path), migrated);
  EXPECT_FALSE(Exists(path + ".old"));
}

TEST_F(SettingsUpdateTest, KeptCopiesNeverReplaceEarlierOnes) {
  EXPECT_EQ(UpdateSettingsFile(files, path, true).backupPath, path + ".old");
  EXPECT_EQ(ReadFile(path + ".old"), kOldContent);
  EXPECT_EQ(ReadFile(path), migrated);

  WriteFile(path + ".old.1", "someone's own copy");
  WriteFile(path, kOldContent + std::string("SITENAME=Second\r\n"));
  EXPECT_EQ(UpdateSettingsFile(files, path, true).backupPath, path + ".old.2");
  EXPECT_EQ(ReadFile(path + ".old"), kOldContent);
  EXPECT_EQ(ReadFile(path + ".old.1"), "someone's own copy");
  EXPECT_EQ(ReadFile(path + ".old.2"), kOldContent + std::string("SITENAME=Second\r\n"));
}

TEST_F(SettingsUpdateTest, AFileThatCannotBeReadIsNeitherCopiedNorCreated) {
  const std::string missing = folder / "gone/corvane.ini";
  try {
    UpdateSettingsFile(files, missing, true);
    FAIL() << "no failure reported";
  } catch (const UpdateFailure& failure) {
    EXPECT_TRUE(std::string(failure.what()).starts_with("Cannot read " + missing))
        << failure.what();
  }
  EXPECT_FALSE(Exists(missing));
  EXPECT_FALSE(Exists(missing + ".old"));
}

}  // namespace
}  // namespace updater
