#include "updater/settings_update.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/faulty_file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "updater/settings_migration.h"

namespace updater {
namespace {

using support::ReadFile;
using support::WriteFile;

constexpr const char* kOldContent = "; old\r\nMK_FOLDER_HEADER=1\r\nSITENAME=Site\r\n";
constexpr const char* kEarlierCopy = "someone's own copy";

enum class Scene {
  kPlainFile,
  kLink,           // corvane.ini is a link to a file in another folder
  kRefusedBeside,  // no file can be made beside it (renames refused), it may be written
  kNothingBeside,  // the same for the copy of the old content
  kMissing,
};

TEST(SettingsUpdate, RewritesTheFileTheNameLeadsTo) {
  struct Row {
    const char* name;
    Scene scene;
    KeepOld keepOld;
    std::vector<std::string> earlierCopies;  // endings of copies that exist before
    std::string keptAs;                      // ending the old content is kept under
    std::string failure;                     // how the failure begins; "" for success
  };
  const Row rows[] = {
      {"plain file", Scene::kPlainFile, KeepOld::kNo, {}, "", ""},
      {"tick box replaces", Scene::kPlainFile, KeepOld::kReplacing, {".old"}, ".old", ""},
      {"numbered copies", Scene::kPlainFile, KeepOld::kNumbered, {".old", ".old.1"}, ".old.2", ""},
      {"link stays, its file is rewritten", Scene::kLink, KeepOld::kNumbered, {}, ".old", ""},
      {"rewritten in place", Scene::kRefusedBeside, KeepOld::kNo, {}, "", ""},
      {"no copy made", Scene::kNothingBeside, KeepOld::kReplacing, {}, "", "Cannot keep the old "},
      {"missing file", Scene::kMissing, KeepOld::kNumbered, {}, "", "Cannot read "},
  };
  const std::string migrated = MigrateSettings({"; old", "MK_FOLDER_HEADER=1", "SITENAME=Site"});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    support::TempFolder folder;
    support::FaultyFileSystem files;
    const std::string path = folder / "programs/corvane.ini";
    const std::string file = row.scene == Scene::kLink ? folder / "elsewhere/site.ini" : path;
    support::MakeFolder(folder / "programs");
    if (row.scene != Scene::kMissing) WriteFile(file, kOldContent);
    if (row.scene == Scene::kLink) std::filesystem::create_symlink(file, path);
    if (row.scene == Scene::kRefusedBeside) files.FailRenames("corvane.ini");
    if (row.scene == Scene::kNothingBeside) files.FailRenames();
    for (const std::string& ending : row.earlierCopies) WriteFile(path + ending, kEarlierCopy);
    // Nothing else appears: no temporary file, no copy but the one asked for.
    std::vector<std::string> expected = support::ListTree(folder.path());
    const std::string kept = "programs/corvane.ini" + row.keptAs;
    if (!row.keptAs.empty() &&
        std::find(expected.begin(), expected.end(), kept) == expected.end()) {
      expected.push_back(kept);
      std::sort(expected.begin(), expected.end());
    }

    try {
      const UpdateResult result = UpdateSettingsFile(files, path, row.keepOld);
      EXPECT_EQ(row.failure, "");
      EXPECT_EQ(result.backupPath, row.keptAs.empty() ? "" : path + row.keptAs);
      EXPECT_EQ(ReadFile(file), migrated);
    } catch (const UpdateFailure& failure) {
      const std::string text = failure.what();
      EXPECT_TRUE(!row.failure.empty() && text.starts_with(row.failure)) << text;
      EXPECT_TRUE(text.ends_with(" The file was left unchanged.")) << text;
      if (row.scene != Scene::kMissing) {
        EXPECT_EQ(ReadFile(file), kOldContent);
      }
    }
    EXPECT_EQ(support::ListTree(folder.path()), expected);
    EXPECT_EQ(std::filesystem::is_symlink(path), row.scene == Scene::kLink);
    if (!row.keptAs.empty()) {
      EXPECT_EQ(ReadFile(path + row.keptAs), kOldContent);
    }
    for (const std::string& ending : row.earlierCopies) {
      if (ending != row.keptAs) {
        EXPECT_EQ(ReadFile(path + ending), kEarlierCopy) << ending;
      }
    }
  }
}

}  // namespace
}  // namespace updater
