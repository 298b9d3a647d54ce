#pragma once
// Resource identifiers of the setup engine: icons, bitmaps, dialog templates and
// the controls of the wizard pages. Shared by setup.rc and the code.

#define IDI_SETUP 107
#define IDB_SIDE_PICTURE 134

// Dialog templates.
#define IDD_EXIT_SETUP 129
#define IDD_FINISH 139
#define IDD_PROGRESS 144

// Controls shared by the pages.
#define IDC_BACK 1000
#define IDC_NEXT 1003
#define IDC_TEXT1 1009
#define IDC_TEXT2 1010
#define IDC_TEXT3 1011

// Exit Setup dialog.
#define IDC_RESUME 1000
#define IDC_EXIT_SETUP 1001

// Progress page.
#define IDC_PROGRESS_BAR 1032
#define IDC_STATUS_LINE 1033

// Finish page.
#define IDC_FINISH 1018
#define IDC_VIEW_README 1020
#define IDC_RUN_APPLICATION 1021
