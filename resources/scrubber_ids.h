#pragma once
// Resource ids of the uninstaller, shared by its resource script and code.
#define IDI_SCRUBBER 101
#define RT_RESTART_HELPER 300
#define IDR_RESTART_HELPER 30202

// Dialog templates and the wizard's picture.
#define IDD_SHARED 104
#define IDB_WIZARD 105
#define IDD_WIZARD 106

// Controls of the wizard. Buttons 1 and 2 are IDOK (Next / Finish) and
// IDCANCEL; the same ids serve the shared-component dialog.
#define IDC_SELECT_ALL 3
#define IDC_BACK 5
#define IDC_SELECT_NONE 77
#define IDC_FIRST_CHOICE 1000
#define IDC_SECOND_CHOICE 1001
#define IDC_UPPER_TEXT 1002
#define IDC_ITEM_LIST 1003
#define IDC_LOWER_TEXT 1004
#define IDC_TITLE 1005
#define IDC_PROGRESS 3830

// Controls of the shared-component dialog; its question is IDC_UPPER_TEXT
// and IDOK answers No to All.
#define IDC_SHARED_NO 1006
#define IDC_SHARED_YES 1007
