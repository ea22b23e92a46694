// corvane.ini as any site operator (or a broken editor) may leave it.
#include "common/strings.h"
#include "platform/file_system.h"
#include "settings/checker_settings.h"
#include "settings/setting_lines.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// A line that sets something is KEY "=" VALUE, the key upper-cased.
void CheckLineRules(std::string_view line) {
  const auto setting = settings::SplitSettingLine(line);
  if (!setting) return;
  const std::string& key = setting->key;
  FUZZ_CHECK(key == strings::ToUpper(key), line);
  FUZZ_CHECK(key.find('=') == std::string::npos, line);
  FUZZ_CHECK(line.size() == key.size() + 1 + setting->value.size(), line);
  FUZZ_CHECK(strings::EqualsIgnoreCase(line.substr(0, key.size()), key), line);
  FUZZ_CHECK(line.substr(key.size() + 1) == setting->value, line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  fuzz::PutFile(settings::SettingsFilePath(fuzz::ScratchFolder()), input);
  const settings::CheckerSettings s =
      settings::LoadSettings(platform::SystemFileSystem(), fuzz::ScratchFolder());

  // The two rules applied after the last line hold whatever the file says.
  FUZZ_CHECK(!(s.MK_PARENT == 2 && s.UP_TWO_IF_MULTI), input);
  FUZZ_CHECK(s.COM_MAKE_IN_PARENT.empty() || !s.DELETE_SFV_STATUS_ON_SFV_COMPLETE, input);
  // Every APPEND_MSG line adds one ";" ... CR LF line to the comment block.
  FUZZ_CHECK(s.sfvCommentBlock.empty() || s.sfvCommentBlock.starts_with(";"), input);
  FUZZ_CHECK(s.sfvCommentBlock.empty() || s.sfvCommentBlock.ends_with("\r\n"), input);

  for (std::string_view line : strings::Split(input, "\n")) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    CheckLineRules(line);
  }
  return 0;
}
