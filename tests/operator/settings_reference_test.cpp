// The settings reference, docs/s-readme.htm, against the code: every key of
// the table with its kind and starting value.
#include <gtest/gtest.h>

#include <map>

#include "checker/operator/setting_texts.h"
#include "tests/support/files.h"

namespace {

const std::string& Reference() {
  static const std::string text = support::ReadFile(CORVANE_SOURCE_DIR "/docs/s-readme.htm");
  return text;
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

}  // namespace
