#include "updater/window_actions.h"

#include "common/contact.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "updater/desktop_launch.h"
#include "updater/settings_update.h"
#include "updater/window_texts.h"

namespace updater {

std::string LoadStartFolder() { return platform::ProgramFolder(); }

std::string LoadedFileText(const std::string& chosenPath) {
  return chosenPath.empty() ? BRELLUN_NOTHING_LOADED : chosenPath;
}

void UpdateChosenFile(const std::string& chosenPath, bool keepOld, const WindowHooks& window) {
  try {
    UpdateSettingsFile(platform::SystemFileSystem(), chosenPath,
                       keepOld ? KeepOld::kReplacing : KeepOld::kNo);
  } catch (const UpdateFailure& failure) {
    // Instead of reporting success.
    window.showProblem(failure.what());
    return;
  }
  window.disableUpdate();
  if (window.askYesNo(BRELLUN_YAY_TITLE, BRELLUN_YAY_TEXT) && !OpenInTextEditor(chosenPath))
    window.showProblem(NoEditorText(chosenPath));
}

void OpenMakerPage(const ShowProblemFn& showProblem) {
  if (!OpenInBrowser(contact::kWebAddress)) showProblem("Could not start the web browser.");
}

}  // namespace updater
