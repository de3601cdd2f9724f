#pragma once

#define IDI_PROGRAM 128
#define IDS_ABOUTBOX 101

// Dialogs and their controls.
#define IDD_ABOUTBOX 100
#define IDD_RKCAPTURE_DIALOG 102
#define IDC_STATUS_TEXT 1000
#define IDC_MACRO_PATH 1001

// The settings dialog: row r (0 to 7, top to bottom) has the field
// IDC_SETTING_FIRST + 2r and, beside it, the up-down control IDC_SETTING_FIRST + 2r + 1.
#define IDD_SETTING_DIALOG 103
#define IDC_SETTING_FIRST 1010
#define IDC_MOUSE_MOVE_REAL 1030
#define IDC_RESTORE_DEFAULTS 1031

// The About item of the status window's system menu.
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
