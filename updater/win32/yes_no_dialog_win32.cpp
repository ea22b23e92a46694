#include <windows.h>

#include "updater/yes_no_dialog.h"

namespace updater {

bool AskYesNo(const char* title, const char* text) {
  return MessageBoxA(GetActiveWindow(), text, title, MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

}  // namespace updater
