// Parent status entries: where a release reports, and the entries of both
// states, on real folders.
#include <gtest/gtest.h>

#include <functional>

#include "checker/run/phases.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

using Tree = std::vector<std::string>;
using Prepare = std::function<void(DisplayRun&)>;

// A run of the fixture's release whose parent is still to be located.
void ForParentEntries(DisplayRun& d, const std::string& release) {
  d.settings.MK_PARENT = 1;
  d.settings.INC_MAKE_IN_PARENT = "(incomplete) %r";
  d.settings.COM_MAKE_IN_PARENT = "(complete) %r";
  d.run.parentPath.clear();
  d.run.releaseName.clear();
  d.run.releaseDir = release;
}

TEST(Parent, LocatesWhereTheReleaseReports) {
  struct Row {
    const char* name;
    bool upTwo;
    std::string release;     // "{S}": the section folder
    std::string parentPath;  // "!": locating fails
    std::string releaseName;
    bool multiCd;
  };
  const Row rows[] = {
      {"the folder above", false, "{S}/Rel", "{S}/", "Rel", false},
      // A release folder directly in the root stands for one in a drive root.
      {"drive root", false, "/rel", "/rel/",
       "Cannot_Write_Parent_Status--Release_uploaded_to_drive_root", false},
      {"disk subfolder", true, "{S}/Some.Album/CD1", "{S}/", "Some.Album-CD1", true},
      {"disk subfolder of a root release", true, "/Album/CD1", "!", "", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayRun d;
    const auto fill = [&](const std::string& text) {
      return text.starts_with("{S}") ? d.Section() + text.substr(3) : text;
    };
    ForParentEntries(d, fill(row.release));
    d.settings.UP_TWO_IF_MULTI = row.upTwo;
    d.settings.MULTICD_KEYS = "cd1|CD2|REL";
    if (row.parentPath == "!") {
      EXPECT_NE(OsErrorOf([&] { LocateParent(d.run); }), 0);
      continue;
    }
    LocateParent(d.run);
    EXPECT_EQ(d.run.parentPath, fill(row.parentPath));
    EXPECT_EQ(d.run.releaseName, row.releaseName);
    EXPECT_EQ(d.run.isMultiCd, row.multiCd);
    if (row.multiCd) {
      EXPECT_EQ(d.run.mainReleaseName, "Some.Album");
    }
  }
}

TEST(Parent, EntryReplacesThePreviousOne) {
  const auto complete = [](DisplayRun& d) {
    d.SetCounts(10, 10);
    d.run.releaseComplete = true;
  };
  // An entry an earlier run left in `folder` (relative to the temporary folder).
  const auto previous = [](const std::string& folder, const std::string& name) {
    return [=](DisplayRun& d) {
      support::MakeFolder(d.temp / (folder + "/" + name));
      d.run.parentEntryName = name;
    };
  };
  struct Row {
    const char* name;
    std::vector<Prepare> prepare;
    std::string release;  // relative to the temporary folder
    Tree tree;            // of the temporary folder
    std::string entry;    // "": none made
  };
  const Row rows[] = {
      {"incomplete",
       {previous("section", "(incomplete) old")},
       "section/Rel",
       {"section/", "section/(incomplete) Rel/", "section/Rel/"},
       "(incomplete) Rel"},
      // The complete run makes the entry first, and must not then take it away.
      {"both states named alike",
       {complete, [](DisplayRun& d) { d.settings.COM_MAKE_IN_PARENT = "%r - status"; },
        previous("section", "Rel - status")},
       "section/Rel",
       {"section/", "section/Rel - status/", "section/Rel/"},
       "Rel - status"},
      {"MK_PARENT=2 in the release",
       {[](DisplayRun& d) {
         d.settings.MK_PARENT = 2, d.settings.MULTICD_KEYS = "CD1|CD2";
         support::MakeFolder(d.Section() + "/Some.Album/CD2");
       }},
       "section/Some.Album/CD2",
       {"section/", "section/Rel/", "section/Some.Album/", "section/Some.Album/(incomplete) CD2/",
        "section/Some.Album/CD2/"},
       "(incomplete) CD2"},
      {"incomplete override clears every place",
       {previous("section", "old"), previous("done", "old"), previous("inc", "old"),
        [](DisplayRun& d) {
          d.settings.PARENT_PATH_OVERRIDE_I = d.temp / "inc";
          d.settings.PARENT_PATH_OVERRIDE_C = d.temp / "done";
        }},
       "section/Rel",
       {"done/", "inc/", "inc/(incomplete) Rel/", "section/", "section/Rel/"},
       "(incomplete) Rel"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayRun d;
    ForParentEntries(d, d.temp / row.release);
    for (const Prepare& prepare : row.prepare) prepare(d);
    LocateParent(d.run);
    WriteParentEntry(d.run);
    EXPECT_EQ(support::ListTree(d.temp.path()), row.tree);
    EXPECT_EQ(d.run.parentEntryName, row.entry);
    EXPECT_TRUE(d.PermissionCalls().empty());
  }
}

TEST(Parent, UnacceptableNameEndsTheRun) {
  DisplayRun d;
  ForParentEntries(d, d.run.releaseDir);
  d.settings.INC_MAKE_IN_PARENT = "%r|%g";
  LocateParent(d.run);
  EXPECT_NE(OsErrorOf([&] { WriteParentEntry(d.run); }), 0);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(d.run.errorContext.action, "Writing 'incomplete' folder to parent path");
}

}  // namespace
}  // namespace display_test
