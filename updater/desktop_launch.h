// Hands a file to a text editor and a web address to the browser, without
// waiting for either.
#pragma once

#include <string>

namespace updater {

// On Windows the editor is Notepad. Elsewhere it is the first that starts of
// $VISUAL, $EDITOR (each a command, split at blanks) and xdg-open. False
// when none could be started.
bool OpenInTextEditor(const std::string& path);
// What the user is told when OpenInTextEditor found no editor.
std::string NoEditorText(const std::string& path);

// False when the browser could not be started.
bool OpenInBrowser(const std::string& address);

}  // namespace updater
