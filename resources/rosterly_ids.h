#pragma once
// Control and string ids of the console's windows, shared by the resource
// script and the code.

// frmdomainlogin
#define IDC_DOMAIN_LABEL3 1001
#define IDC_DOMAIN_LABEL1 1002
#define IDC_DOMAIN_COMBO1 1003
#define IDC_DOMAIN_COMMAND1 1004
#define IDC_DOMAIN_COMMAND2 1005

// Strings
#define IDS_DOMAIN_TITLE 100
#define IDS_DOMAIN_LABEL3 101
#define IDS_DOMAIN_LABEL1 102
#define IDS_DOMAIN_OK 103
#define IDS_DOMAIN_CANCEL 104
#define IDS_DOMAIN_EMPTY_TEXT 105
#define IDS_DOMAIN_EMPTY_TITLE 106
