// A modal question with the information icon and the buttons Yes and No.
#pragma once

namespace updater {

// True when the user answers Yes; No, Escape and closing the box give false.
bool AskYesNo(const char* title, const char* text);

}  // namespace updater
