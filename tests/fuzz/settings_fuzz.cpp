// corvane.ini as any site operator (or a broken editor) may leave it: it
// loads, and the rules applied after the last line hold whatever it says.
#include "platform/file_system.h"
#include "settings/checker_settings.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  fuzz::PutFile(settings::SettingsFilePath(fuzz::ScratchFolder()), input);
  const settings::CheckerSettings s =
      settings::LoadSettings(platform::SystemFileSystem(), fuzz::ScratchFolder());
  FUZZ_CHECK(!(s.MK_PARENT == 2 && s.UP_TWO_IF_MULTI), input);
  FUZZ_CHECK(s.COM_MAKE_IN_PARENT.empty() || !s.DELETE_SFV_STATUS_ON_SFV_COMPLETE, input);
  // Every APPEND_MSG line adds one ";" ... CR LF line to the comment block.
  FUZZ_CHECK(s.sfvCommentBlock.empty() || s.sfvCommentBlock.starts_with(";"), input);
  FUZZ_CHECK(s.sfvCommentBlock.empty() || s.sfvCommentBlock.ends_with("\r\n"), input);
  return 0;
}
