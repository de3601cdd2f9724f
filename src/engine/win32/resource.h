#pragma once

#define IDI_PROGRAM 128
#define IDS_ABOUTBOX 101

// Dialogs and their controls.
#define IDD_ABOUTBOX 100
#define IDD_RKCAPTURE_DIALOG 102
#define IDC_STATUS_TEXT 1000
#define IDC_MACRO_PATH 1001

// The About item of the status window's system menu.
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
