// Identifiers of brellun's dialog resource and its controls.
#pragma once

#define IDD_FRMMAIN 100
#define IDC_FRAMAIN 1000
#define IDC_CHKRENOLD 1001
#define IDC_LBLABOUT 1002
#define IDC_CMDLOAD 1003
#define IDC_CMDUPDATE 1004
#define IDC_CMDQUIT 1005
#define IDC_FRAEMAIL 1006
#define IDC_LABEL1 1007
#define IDC_TXTWWW 1008
#define IDC_LABEL2 1009
#define IDC_TXTEMAIL 1010
#define IDC_LABELLOADED 1011
#define IDC_TXTLOADED 1012
