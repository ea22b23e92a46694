#include "updater/window_actions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/temp_folder.h"
#include "updater/desktop_launch.h"

namespace updater {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOldContent = "SITENAME=Site\r\n";

// Sets (unsets, for nullopt) an environment variable until the end of the scope.
struct ScopedVariable {
  ScopedVariable(const char* name, const std::optional<std::string>& value) : name(name) {
    if (const char* now = std::getenv(name)) old = now;
    Set(value);
  }
  ~ScopedVariable() { Set(old); }
  void Set(const std::optional<std::string>& value) {
    value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }
  const char* name;
  std::optional<std::string> old;
};

// An editor on the search path that writes its arguments to NAME.opened.
void InstallEditor(const std::string& folder, const std::string& name) {
  const std::string path = folder + "/" + name;
  support::WriteFile(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" >\"$0.opened\"\n");
  fs::permissions(path, fs::perms::owner_all);
}

TEST(WindowActions, UpdateAsksThenOpensTheFirstEditorThatStarts) {
  struct Row {
    const char* name;
    bool fileExists;
    bool answerYes;
    std::optional<std::string> visual, editor;
    bool haveXdgOpen;
    std::string openedBy;     // the editor given the file; "" for none
    std::string arguments;    // the lines its arguments before the file make
    std::string problemPart;  // a part of the one problem shown; "" for none
  };
  const std::vector<Row> rows = {
      {"VISUAL first", true, true, "visual-editor", "other-editor", true, "visual-editor", "", ""},
      {"EDITOR with its arguments when VISUAL does not start", true, true, "missing-editor",
       "other-editor  --wait", true, "other-editor", "--wait\n", ""},
      {"xdg-open last", true, true, std::nullopt, "missing-editor", true, "xdg-open", "", ""},
      {"no editor at all", true, true, std::nullopt, std::nullopt, false, "", "",
       "No text editor was found"},
      {"the answer No opens nothing", true, false, "visual-editor", std::nullopt, true, "", "", ""},
      {"a failed update asks nothing", false, true, "visual-editor", std::nullopt, true, "", "",
       "Cannot read "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    support::TempFolder folder;
    const std::string bin = folder / "bin";
    support::MakeFolder(bin);
    for (const char* name : {"visual-editor", "other-editor"}) InstallEditor(bin, name);
    if (row.haveXdgOpen) InstallEditor(bin, "xdg-open");
    const ScopedVariable path("PATH", bin), visual("VISUAL", row.visual),
        editor("EDITOR", row.editor);
    const std::string settings = folder / "corvane.ini";
    if (row.fileExists) support::WriteFile(settings, kOldContent);

    bool disabled = false;
    std::vector<std::string> asked, problems;
    UpdateChosenFile(settings, true,
                     {[&] { disabled = true; },
                      [&](const char* title, const char* text) {
                        asked.push_back(std::string(title) + " " + text);
                        return row.answerYes;
                      },
                      [&](const std::string& text) { problems.push_back(text); }});

    EXPECT_EQ(disabled, row.fileExists);
    EXPECT_EQ(asked, row.fileExists ? std::vector<std::string>{"Yay! Update successful! Would you "
                                                               "like to edit your updated ini now?"}
                                    : std::vector<std::string>{});
    EXPECT_EQ(problems.size(), row.problemPart.empty() ? 0u : 1u);
    if (problems.size() == 1) {
      EXPECT_NE(problems[0].find(row.problemPart), std::string::npos);
    }
    for (const char* name : {"visual-editor", "other-editor", "xdg-open"}) {
      const std::string opened = bin + "/" + name + ".opened";
      if (name != row.openedBy) {
        EXPECT_FALSE(support::Exists(opened)) << name;
        continue;
      }
      const std::string expected = row.arguments + settings + "\n";
      EXPECT_TRUE(support::WaitUntil([&] {
        return support::Exists(opened) && support::ReadFile(opened) == expected;
      })) << name;
    }
  }
}

}  // namespace
}  // namespace updater
