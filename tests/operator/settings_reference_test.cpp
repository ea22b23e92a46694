// The settings reference, docs/s-readme.htm, against the code: every key of
// the table with its kind and starting value, and every example expansion as
// the expander gives it for the sample releases.
#include <gtest/gtest.h>

#include <map>

#include "checker/operator/sample_run.h"
#include "checker/operator/setting_texts.h"
#include "checker/run/phases.h"
#include "common/strings.h"
#include "platform/file_system.h"
#include "tests/support/files.h"

namespace {

const std::string& Reference() {
  static const std::string text = support::ReadFile(CORVANE_SOURCE_DIR "/docs/s-readme.htm");
  return text;
}

std::string Unescaped(std::string text) {
  text = strings::ReplaceAll(text, "&lt;", "<");
  text = strings::ReplaceAll(text, "&gt;", ">");
  text = strings::ReplaceAll(text, "&quot;", "\"");
  return strings::ReplaceAll(text, "&amp;", "&");
}

// The texts between `open` and the next `close`, one per `open` in `text`.
std::vector<std::string> Elements(const std::string& text, const std::string& open,
                                  const std::string& close) {
  std::vector<std::string> found;
  for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
    const std::size_t from = at + open.size();
    found.push_back(text.substr(from, text.find(close, from) - from));
  }
  return found;
}

// A cell's content without its <code> wrapper.
std::string CellText(std::string cell) {
  cell = cell.substr(cell.find('>') + 1);  // after "<td>"
  if (cell.starts_with("<code>") && cell.ends_with("</code>"))
    cell = cell.substr(6, cell.size() - 13);
  return Unescaped(cell);
}

TEST(SettingsReference, ListsEveryKeyWithItsKindAndStartingValue) {
  // <dt class="key" id="KEY"><code>KEY</code> (KIND; starts VALUE)</dt>
  std::map<std::string, std::string> listed;
  for (const std::string& entry : Elements(Reference(), "<dt class=\"key\" id=\"", "</dt>")) {
    const std::string id = entry.substr(0, entry.find('"'));
    const std::string head = "\"><code>" + id + "</code> (";
    ASSERT_EQ(entry.substr(id.size(), head.size()), head) << entry;
    ASSERT_TRUE(entry.ends_with(")")) << entry;
    listed[id] = entry.substr(id.size() + head.size(), entry.size() - id.size() - head.size() - 1);
  }
  const settings::CheckerSettings starting;
  for (const settings::SettingKey& key : settings::kSettingKeys) {
    const std::string name(key.name);
    EXPECT_EQ(listed[name],
              std::string(KindName(key.kind)) + "; starts " + ValueText(starting, key))
        << name;
    listed.erase(name);
  }
  EXPECT_TRUE(listed.empty()) << listed.begin()->first << " is not a key";
}

TEST(SettingsReference, ExamplesExpandAsShown) {
  const std::vector<std::string> settingsBlock =
      Elements(Reference(), "<pre id=\"example-settings\">", "</pre>");
  ASSERT_EQ(settingsBlock.size(), 1u);
  const settings::CheckerSettings settings =
      settings::LoadSettingsFromLines(strings::Split(Unescaped(settingsBlock[0]), "\n"));
  std::map<std::string, SampleState> states;
  for (SampleState state : kPreviewStates) states[std::string(SampleStateName(state))] = state;

  // <tr class="example"><td>what</td><td>template</td><td>sample</td><td>gives</td></tr>
  const std::vector<std::string> examples =
      Elements(Reference(), "<tr class=\"example\">", "</tr>");
  ASSERT_FALSE(examples.empty());
  for (const std::string& example : examples) {
    std::vector<std::string> cells = strings::Split(example, "</td>");
    ASSERT_EQ(cells.size(), 5u) << example;
    const std::string templateText = CellText(cells[1]);
    SCOPED_TRACE(templateText);
    ASSERT_TRUE(states.count(CellText(cells[2]))) << cells[2];
    SampleRun sample(settings, platform::SystemFileSystem(), states[CellText(cells[2])]);
    const std::string expanded =
        ExpandTemplate(sample.run, templateText, sample.run.releaseComplete);
    EXPECT_EQ(strings::ReplaceAll(expanded, "\r\n", "\n"), CellText(cells[3]));
  }
}

}  // namespace
