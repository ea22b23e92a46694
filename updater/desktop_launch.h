// Hands a file to the system's text editor and a web address to the browser,
// without waiting for either.
#pragma once

#include <string>

namespace updater {

// False when the program could not be started.
bool OpenInTextEditor(const std::string& path);
bool OpenInBrowser(const std::string& address);

}  // namespace updater
