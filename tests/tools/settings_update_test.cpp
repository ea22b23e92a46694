#include "updater/settings_update.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "updater/settings_migration.h"

namespace updater {
namespace {

namespace fs = std::filesystem;
using support::ReadFile;
using support::WriteFile;

constexpr const char* kOldContent = "; old\r\nMK_FOLDER_HEADER=1\r\nSITENAME=Site\r\n";
constexpr const char* kEarlierCopy = "someone's own copy";

TEST(SettingsFileName, OnlyExactlyCorvaneIniIsAccepted) {
  EXPECT_TRUE(IsSettingsFileName("/srv/corvane/corvane.ini"));
  EXPECT_TRUE(IsSettingsFileName("corvane.ini"));
  EXPECT_FALSE(IsSettingsFileName("/srv/corvane/Corvane.ini"));
  EXPECT_FALSE(IsSettingsFileName("/srv/corvane/corvane.ini.old"));
  EXPECT_FALSE(IsSettingsFileName("/srv/corvane.ini/settings.ini"));
  EXPECT_FALSE(IsSettingsFileName("/srv/corvane/"));
}

// A folder in which no file can be made, while its files stay writable: the
// write rights taken away, and for a user whom rights do not stop (root) the
// folder made immutable. Given back when the object goes.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(std::string folder) : folder_(std::move(folder)) {
    fs::permissions(folder_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (Refuses()) return;
    immutable_ = std::system(("chattr +i '" + folder_ + "' 2>/dev/null").c_str()) == 0;
  }
  ~UnwritableFolder() {
    if (immutable_) std::system(("chattr -i '" + folder_ + "'").c_str());
    fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::add);
  }
  // Whether a new file is refused here.
  bool Refuses() const {
    const std::string probe = folder_ + "/probe";
    if (!std::ofstream(probe)) return true;
    fs::remove(probe);
    return false;
  }

 private:
  std::string folder_;
  bool immutable_ = false;
};

enum class Setup {
  kPlainFile,
  kLink,              // corvane.ini is a link to a file in another folder
  kUnwritableFolder,  // its folder refuses new files, the file may be written
  kMissing,
};

struct Row {
  const char* name;
  Setup setup;
  KeepOld keepOld;
  std::vector<std::string> earlierCopies;  // endings of copies that exist before
  std::string keptAs;                      // ending the old content is kept under
  std::string failure;                     // how the failure begins; "" for success
};

TEST(SettingsUpdate, RewritesTheFileTheNameLeadsTo) {
  const std::vector<Row> rows = {
      {"plain file", Setup::kPlainFile, KeepOld::kNo, {}, "", ""},
      {"the tick box replaces an older copy",
       Setup::kPlainFile,
       KeepOld::kReplacing,
       {".old"},
       ".old",
       ""},
      {"numbered copies keep earlier ones",
       Setup::kPlainFile,
       KeepOld::kNumbered,
       {".old", ".old.1"},
       ".old.2",
       ""},
      {"a link stays and its file is rewritten", Setup::kLink, KeepOld::kNumbered, {}, ".old", ""},
      {"an unwritable folder: rewritten in place",
       Setup::kUnwritableFolder,
       KeepOld::kNo,
       {},
       "",
       ""},
      {"an unwritable folder takes no copy",
       Setup::kUnwritableFolder,
       KeepOld::kReplacing,
       {},
       "",
       "Cannot keep the old file as "},
      {"a missing file", Setup::kMissing, KeepOld::kNumbered, {}, "", "Cannot read "},
  };
  const std::string migrated = MigrateSettings({"; old", "MK_FOLDER_HEADER=1", "SITENAME=Site"});
  std::vector<std::string> skipped;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    support::TempFolder folder;
    const std::string path = folder / "programs/corvane.ini";
    const std::string file = row.setup == Setup::kLink ? folder / "elsewhere/site.ini" : path;
    support::MakeFolder(folder / "programs");
    if (row.setup != Setup::kMissing) WriteFile(file, kOldContent);
    if (row.setup == Setup::kLink) fs::create_symlink(file, path);
    for (const std::string& ending : row.earlierCopies) WriteFile(path + ending, kEarlierCopy);
    std::optional<UnwritableFolder> unwritable;
    if (row.setup == Setup::kUnwritableFolder) {
      unwritable.emplace(folder / "programs");
      if (!unwritable->Refuses()) {
        skipped.push_back(row.name);
        continue;
      }
    }
    // Nothing else appears: no temporary file, no copy but the one asked for.
    std::vector<std::string> expected = support::ListTree(folder.path());
    const std::string kept = "programs/corvane.ini" + row.keptAs;
    if (!row.keptAs.empty() &&
        std::find(expected.begin(), expected.end(), kept) == expected.end()) {
      expected.push_back(kept);
      std::sort(expected.begin(), expected.end());
    }

    try {
      const UpdateResult result =
          UpdateSettingsFile(platform::SystemFileSystem(), path, row.keepOld);
      EXPECT_EQ(row.failure, "");
      EXPECT_EQ(result.backupPath, row.keptAs.empty() ? "" : path + row.keptAs);
      EXPECT_EQ(ReadFile(file), migrated);
    } catch (const UpdateFailure& failure) {
      const std::string text = failure.what();
      EXPECT_TRUE(text.starts_with(row.failure)) << text;
      EXPECT_TRUE(text.ends_with(" The file was left unchanged.")) << text;
      if (row.setup != Setup::kMissing) {
        EXPECT_EQ(ReadFile(file), kOldContent);
      }
    }
    EXPECT_EQ(support::ListTree(folder.path()), expected);
    EXPECT_EQ(fs::is_symlink(path), row.setup == Setup::kLink);
    if (!row.keptAs.empty()) {
      EXPECT_EQ(ReadFile(path + row.keptAs), kOldContent);
    }
    for (const std::string& ending : row.earlierCopies) {
      if (ending != row.keptAs) {
        EXPECT_EQ(ReadFile(path + ending), kEarlierCopy) << ending;
      }
    }
  }
  if (!skipped.empty()) GTEST_SKIP() << "no folder can be made unwritable here: " << skipped[0];
}

}  // namespace
}  // namespace updater
