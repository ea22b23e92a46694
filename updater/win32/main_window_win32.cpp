// frmMain as a Windows dialog from the resource IDD_FRMMAIN: pick a
// corvane.ini with the common file-open dialog (the window shows which),
// update it, optionally keeping the old one, then offer to open it in Notepad.
#include <windows.h>
// After <windows.h>, whose types it uses.
#include <commdlg.h>

#include <iostream>
#include <string>

#include "common/contact.h"
#include "updater/main_window.h"
#include "updater/settings_update.h"
#include "updater/win32/resource_ids.h"
#include "updater/window_actions.h"
#include "updater/window_texts.h"
#include "updater/yes_no_dialog.h"

namespace updater {

namespace {

constexpr UINT_PTR kSelfTestTimer = 1;

struct WindowState {
  bool selfTest = false;
  bool wasOnScreen = false;
  std::string chosenPath;  // empty until a valid file is chosen
};

void ShowProblem(HWND dialog, const std::string& text) {
  MessageBoxA(dialog, text.c_str(), BRELLUN_CAPTION, MB_OK | MB_ICONEXCLAMATION);
}

void ShowLoaded(HWND dialog, const WindowState& state) {
  SetDlgItemTextA(dialog, IDC_TXTLOADED, LoadedFileText(state.chosenPath).c_str());
}

// The file name starts empty every time; only "corvane.ini" is taken.
void Load(HWND dialog, WindowState& state) {
  char file[MAX_PATH] = "";
  const std::string startFolder = LoadStartFolder();
  OPENFILENAMEA cmndlg{};
  cmndlg.lStructSize = sizeof cmndlg;
  cmndlg.hwndOwner = dialog;
  cmndlg.lpstrFilter = BRELLUN_FILTER "\0" BRELLUN_FILTER "\0";
  cmndlg.lpstrFile = file;
  cmndlg.nMaxFile = MAX_PATH;
  cmndlg.lpstrInitialDir = startFolder.c_str();
  cmndlg.lpstrTitle = BRELLUN_LOAD_TITLE;
  cmndlg.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&cmndlg) || !IsSettingsFileName(file)) return;
  state.chosenPath = file;
  ShowLoaded(dialog, state);
  EnableWindow(GetDlgItem(dialog, IDC_CMDUPDATE), TRUE);
}

void Update(HWND dialog, const WindowState& state) {
  UpdateChosenFile(state.chosenPath, IsDlgButtonChecked(dialog, IDC_CHKRENOLD) == BST_CHECKED,
                   {[dialog] { EnableWindow(GetDlgItem(dialog, IDC_CMDUPDATE), FALSE); }, AskYesNo,
                    [dialog](const std::string& text) { ShowProblem(dialog, text); }});
}

void Initialize(HWND dialog, WindowState& state) {
  SetDlgItemTextA(dialog, IDC_TXTWWW, contact::kWebAddress);
  SetDlgItemTextA(dialog, IDC_TXTEMAIL, contact::kEmailAddress);
  ShowLoaded(dialog, state);
  CheckDlgButton(dialog, IDC_CHKRENOLD, BST_UNCHECKED);
  if (state.selfTest) SetTimer(dialog, kSelfTestTimer, 500, nullptr);
}

// The web address looks like a link.
INT_PTR ColorAddress(HDC context, HWND control) {
  if (GetDlgCtrlID(control) != IDC_TXTWWW) return FALSE;
  SetTextColor(context, RGB(0, 0, 255));
  SetBkColor(context, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
}

INT_PTR CALLBACK FrmMainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      Initialize(dialog, *reinterpret_cast<WindowState*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return ColorAddress(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
      state->wasOnScreen = IsWindowVisible(dialog) != FALSE;
      EndDialog(dialog, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CMDLOAD:
          Load(dialog, *state);
          return TRUE;
        case IDC_CMDUPDATE:
          Update(dialog, *state);
          return TRUE;
        case IDC_CMDQUIT:
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        case IDC_TXTWWW:
          if (HIWORD(wParam) == STN_CLICKED)
            OpenMakerPage([dialog](const std::string& text) { ShowProblem(dialog, text); });
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int RunWindow(bool selfTest) {
  WindowState state;
  state.selfTest = selfTest;
  if (DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FRMMAIN), nullptr,
                      FrmMainProc, reinterpret_cast<LPARAM>(&state)) == -1)
    return 1;
  if (!selfTest) return 0;
  if (!state.wasOnScreen) return 1;
  std::cout << "frmMain shown: " << BRELLUN_CAPTION << "\n";
  return 0;
}

}  // namespace updater
