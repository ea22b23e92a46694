// What the window's Update button and address field do, whichever desktop
// shows the window.
#pragma once

#include <functional>
#include <string>

namespace updater {

using ShowProblemFn = std::function<void(const std::string& text)>;

// The Update button: keeps the old file when `keepOld`, migrates the file,
// calls `disableUpdate`, then asks the "Yay!" question and opens the file in
// the text editor on Yes. A failed update leaves the file unchanged, says so
// through `showProblem` and leaves the button enabled for another try.
void UpdateChosenFile(const std::string& chosenPath, bool keepOld,
                      const std::function<void()>& disableUpdate, const ShowProblemFn& showProblem);

// A click on the web address opens the maker's page in the browser.
void OpenMakerPage(const ShowProblemFn& showProblem);

}  // namespace updater
