#include "updater/window_actions.h"

#include "platform/file_system.h"
#include "updater/desktop_launch.h"
#include "updater/maker_info.h"
#include "updater/settings_update.h"
#include "updater/window_texts.h"
#include "updater/yes_no_dialog.h"

namespace updater {

void UpdateChosenFile(const std::string& chosenPath, bool keepOld,
                      const std::function<void()>& disableUpdate,
                      const ShowProblemFn& showProblem) {
  try {
    UpdateSettingsFile(platform::SystemFileSystem(), chosenPath, keepOld);
  } catch (const UpdateFailure& failure) {
    // Nothing was rewritten: say so instead of reporting success.
    showProblem(std::string(failure.what()) + "\nYour corvane.ini was left unchanged.");
    return;
  }
  disableUpdate();
  if (AskYesNo(BRELLUN_YAY_TITLE, BRELLUN_YAY_TEXT) && !OpenInTextEditor(chosenPath))
    showProblem("Could not start the text editor for " + chosenPath + ".");
}

void OpenMakerPage(const ShowProblemFn& showProblem) {
  if (!OpenInBrowser(kMakerWebAddress)) showProblem("Could not start the web browser.");
}

}  // namespace updater
