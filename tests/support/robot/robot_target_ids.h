#pragma once
// Resource identifiers of robot_target's dialog.

#define IDD_ROBOT_TARGET 200
#define IDC_RESULT 1009
#define IDC_PATH 1005
#define IDC_ITEMS 1017
#define IDC_OPTION 1020
#define IDC_APPLY 1003
#define IDC_LOCKED 1004
