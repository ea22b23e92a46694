// The texts of frmMain and its dialogs. Plain macros, so that the Windows
// dialog resource (brellun.rc) and the code share one copy.
#pragma once

#define BRELLUN_CAPTION "corvane INI updater"
#define BRELLUN_CHK_REN_OLD "Rename my corvane.ini to corvane.ini.old"
#define BRELLUN_CMD_LOAD "&Load"
#define BRELLUN_CMD_UPDATE "&Update"
#define BRELLUN_CMD_QUIT "&Quit"
#define BRELLUN_LBL_ABOUT                                                                   \
  "Old keys will be carried over to new ini file, new keys will be left blank so that you " \
  "can differentiate which ones the new keys are.  Check s-readme.htm for explanation of "  \
  "each key."
// The file Load has chosen, shown under the label.
#define BRELLUN_LOADED "Loaded:"
#define BRELLUN_NOTHING_LOADED "nothing yet: choose your corvane.ini with Load"
#define BRELLUN_LABEL1 "Scripts www:"
#define BRELLUN_LABEL2 "Contact me:"
// The file-open dialog: its title, and the one filter's description and pattern.
#define BRELLUN_LOAD_TITLE "Load your corvane.ini"
#define BRELLUN_FILTER "corvane.ini"
#define BRELLUN_YAY_TITLE "Yay!"
#define BRELLUN_YAY_TEXT "Update successful! Would you like to edit your updated ini now?"
