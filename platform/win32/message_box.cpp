#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_support.h"

namespace platform {

namespace {

// A process started by a service has a window station that nobody sees: a
// message box there would wait for a click forever.
bool DesktopVisible() {
  HWINSTA station = GetProcessWindowStation();
  USEROBJECTFLAGS flags{};
  return station != nullptr &&
         GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
         (flags.dwFlags & WSF_VISIBLE) != 0;
}

UINT IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError:
      return MB_ICONERROR;
    case MessageIcon::kQuestion:
      return MB_ICONQUESTION;
    case MessageIcon::kInformation:
      break;
  }
  return MB_ICONINFORMATION;
}

}  // namespace

// A box that was shown answers with the button that closed it (a positive
// number); anything else means no box could be made, and the text goes to
// standard error instead.
void ShowMessageBox(const std::string& title, const std::string& text, MessageIcon icon) {
  if (DesktopVisible() && MessageBoxA(nullptr, text.c_str(), title.c_str(),
                                      MB_OK | MB_SETFOREGROUND | IconStyle(icon)) > 0)
    return;
  const std::string message = title + "\n" + text + "\n";
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fflush(stderr);
}

}  // namespace platform
