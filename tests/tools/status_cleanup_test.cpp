#include "cleanup/status_cleanup.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/strings.h"
#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace cleanup {
namespace {

// A site top/site/ftp/Rel (parent ftp, grandparent site) and folders top/c and
// top/i that settings may name as overrides. Each place holds the store's
// header (H) and entry (E) names as the checker makes them: empty folders.
// `removed` lists the names that must go, as place and name letter ("pH gE").
TEST(StatusCleanup, RemovesTheStoresNamesWhereTheyWereMade) {
  struct Row {
    const char* name;
    std::optional<std::string> settings;  // {c}, {i} name a place; nullopt: no corvane.ini
    std::string removed;
    std::size_t storeLines = 4;
    std::string store = "{R}/.sfvStatus";  // {R}: the release folder
    std::string commandLine = "{R}/.sfvStatus";
    bool entriesAsFiles = false;
  };
  const Row rows[] = {
      {"parent and grandparent", "", "pH pE gH gE"},
      {"only the overrides, the last of each kind",
       "PARENT_PATH_OVERRIDE_C={i}\r\nparent_path_override_c={c}\r\nPARENT_PATH_OVERRIDE_I={i}\r\n",
       "cH iE"},
      {"a store of three lines names only the header", "", "pH gH", 3},
      {"entries made as files stay", "", "", 4, "{R}/.sfvStatus", "{R}/.sfvStatus", true},
      {"no corvane.ini", std::nullopt, ""},
      {"store name in capitals", "", "", 4, "{R}/.SFVSTATUS", "{R}/.SFVSTATUS"},
  };
  const std::vector<std::string> store = {"1110000000", "bob", "[###-----] 3 of 10",
                                          "Rel - incomplete"};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    support::TempFolder top, programFolder;
    const std::string release = top / "site/ftp/Rel";
    const auto fill = [&](std::string text) {
      text = strings::ReplaceAll(text, "{R}", release);
      text = strings::ReplaceAll(text, "{c}", top / "c");
      return strings::ReplaceAll(text, "{i}", top / "i");
    };
    const std::pair<std::string, std::string> places[] = {
        {"p", top / "site/ftp"}, {"g", top / "site"}, {"c", top / "c"}, {"i", top / "i"}};
    for (const auto& [letter, folder] : places) {
      for (const std::string& name : {store[2], store[3]}) {
        row.entriesAsFiles ? support::WriteFile(folder + "/" + name, "")
                           : support::MakeFolder(folder + "/" + name);
      }
    }
    std::string storeText;
    for (std::size_t i = 0; i < row.storeLines; ++i) storeText += store[i] + "\r\n";
    support::WriteFile(fill(row.store), storeText);
    if (row.settings) support::WriteFile(programFolder / "corvane.ini", fill(*row.settings));

    RunStatusCleanup(platform::SystemFileSystem(), fill(row.commandLine), programFolder.path());

    for (const auto& [letter, folder] : places) {
      for (const auto& [kind, name] : {std::pair("H", store[2]), std::pair("E", store[3])}) {
        const bool removed = row.removed.find(letter + kind) != std::string::npos;
        EXPECT_EQ(support::Exists(folder + "/" + name), !removed) << letter << kind;
      }
    }
    EXPECT_TRUE(support::Exists(fill(row.store)));
  }
}

}  // namespace
}  // namespace cleanup
