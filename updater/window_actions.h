// What the window's buttons and fields do, whichever desktop shows the window.
#pragma once

#include <functional>
#include <string>

namespace updater {

using ShowProblemFn = std::function<void(const std::string& text)>;

// What the shared actions need of the window that runs them.
struct WindowHooks {
  std::function<void()> disableUpdate;
  // A question with the information icon and the buttons Yes and No.
  std::function<bool(const char* title, const char* text)> askYesNo;
  ShowProblemFn showProblem;
};

// The folder the Load button's file-open dialog starts in: the program
// folder, where the programs read their corvane.ini.
std::string LoadStartFolder();

// What the window shows of the loaded file (`chosenPath` empty: none yet).
std::string LoadedFileText(const std::string& chosenPath);

// The Update button: with the tick box (`keepOld`) copies the file to
// corvane.ini.old first, replacing an older copy; migrates the file; disables
// Update; then asks the "Yay!" question and opens the file in a text editor
// on Yes, saying so when no editor could be started. A failed update says so
// and leaves Update enabled for another try.
void UpdateChosenFile(const std::string& chosenPath, bool keepOld, const WindowHooks& window);

// A click on the web address opens the maker's page in the browser.
void OpenMakerPage(const ShowProblemFn& showProblem);

}  // namespace updater
