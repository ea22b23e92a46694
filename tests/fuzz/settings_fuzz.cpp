// corvane.ini as any site operator (or a broken editor) may leave it: it
// loads whatever it says.
#include "platform/file_system.h"
#include "settings/checker_settings.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  support::WriteFile(settings::SettingsFilePath(fuzz::ScratchFolder()), fuzz::AsText(data, size));
  settings::LoadSettings(platform::SystemFileSystem(), fuzz::ScratchFolder());
  return 0;
}
