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

using Lines = std::vector<std::string>;

std::string Crlf(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A site top/site/ftp/Rel (release Rel, parent ftp, grandparent site) and
// three folders top/c, top/i and top/e that settings may name as overrides.
// Each of the five places holds the store's header (H) and entry (E) names,
// as the checker makes them: empty folders. `removed` lists the names that
// must go, as place letter (p, g, c, i, e) and name letter ("pH gE").
TEST(StatusCleanup, RemovesTheStoresNamesWhereTheyWereMade) {
  struct Row {
    const char* name;
    std::optional<Lines> settings;  // "{c}" and the like name a place; nullopt: no corvane.ini
    std::string removed;
    std::size_t storeLines = 10;
    std::string storeAt = "{R}/.sfvStatus";  // {R}: the release folder
    std::string commandLine = "{R}/.sfvStatus";
    bool entriesAsFiles = false;
  };
  const Row rows[] = {
      {"parent and grandparent", Lines{}, "pH pE gH gE"},
      {"the last override of each kind, any letter case",
       Lines{"PARENT_PATH_OVERRIDE_C={e}", "[Parent_header_setup]", "parent_path_override_c={c}",
             "PARENT_PATH_OVERRIDE_I={i}"},
       "cH iE"},
      {"each name follows its own override",
       Lines{"PARENT_PATH_OVERRIDE_C={c}", "PARENT_PATH_OVERRIDE_I="}, "cH pE gE"},
      {"a store of three lines names only the header", Lines{}, "pH gH", 3},
      {"a store of two lines names nothing", Lines{}, "", 2},
      {"entries made as files stay", Lines{}, "", 10, "{R}/.sfvStatus", "{R}/.sfvStatus", true},
      {"no corvane.ini", std::nullopt, ""},
      {"empty command line", Lines{}, "", 10, "{R}/.sfvStatus", ""},
      {"no store name", Lines{}, "", 10, "{R}/.sfvStatus", "{R}"},
      {"store name not at the end", Lines{}, "", 10, "{R}/.sfvStatusX", "{R}/.sfvStatusX"},
      {"store name in capitals", Lines{}, "", 10, "{R}/.SFVSTATUS", "{R}/.SFVSTATUS"},
      {"no such store", Lines{}, "", 10, "{R}/.sfvStatus", "{R}/../Gone/.sfvStatus"},
  };
  const Lines store = {"1110000000",
                       "bob",
                       "[###-----] 3 of 10 - INCOMPLETE",
                       "Rel - 3 of 10 incomplete",
                       "300",
                       "1500",
                       "False",
                       "no_id3_year",
                       "no_id3_genre",
                       "1|bob|grp|1500|100|3"};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    support::TempFolder top, programFolder;
    const std::string release = top / "site/ftp/Rel";
    const auto fill = [&](std::string text) {
      text = strings::ReplaceAll(text, "{R}", release);
      for (const char* place : {"c", "i", "e"}) {
        text = strings::ReplaceAll(text, std::string("{") + place + "}", top / place);
      }
      return text;
    };
    const std::vector<std::pair<std::string, std::string>> places = {{"p", top / "site/ftp"},
                                                                     {"g", top / "site"},
                                                                     {"c", top / "c"},
                                                                     {"i", top / "i"},
                                                                     {"e", top / "e"}};
    for (const auto& [letter, folder] : places) {
      for (const std::string& name : {store[2], store[3]}) {
        if (row.entriesAsFiles) {
          support::WriteFile(folder + "/" + name, "");
        } else {
          support::MakeFolder(folder + "/" + name);
        }
      }
    }
    support::MakeFolder(top / "site/ftp/Other release");
    support::WriteFile(release + "/movie.r00", "data");
    support::WriteFile(fill(row.storeAt),
                       Crlf(Lines(store.begin(), store.begin() + row.storeLines)));
    if (row.settings) {
      Lines settings;
      for (const std::string& line : *row.settings) settings.push_back(fill(line));
      support::WriteFile(programFolder / "corvane.ini", Crlf(settings));
    }

    RunStatusCleanup(platform::SystemFileSystem(), fill(row.commandLine), programFolder.path());

    for (const auto& [letter, folder] : places) {
      for (const auto& [kind, name] : {std::pair("H", store[2]), std::pair("E", store[3])}) {
        const bool removed = row.removed.find(letter + kind) != std::string::npos;
        EXPECT_EQ(support::Exists(folder + "/" + name), !removed) << letter << kind;
      }
    }
    EXPECT_TRUE(support::Exists(top / "site/ftp/Other release"));
    EXPECT_TRUE(support::Exists(release + "/movie.r00"));
    EXPECT_TRUE(support::Exists(fill(row.storeAt)));
  }
}

}  // namespace
}  // namespace cleanup
