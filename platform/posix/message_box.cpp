#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace platform {

// The machines this runs on have no desktop: the title goes on one line and
// the text below it, on standard error.
void ShowMessageBox(const std::string& title, const std::string& text, MessageIcon /*icon*/) {
  std::string message = title + "\n" + text + "\n";
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fflush(stderr);
}

}  // namespace platform
