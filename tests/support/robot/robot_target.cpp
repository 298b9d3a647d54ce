// The program the robot's tests drive. Plain Win32, so that the robot is tested
// on its own.
//   robot_target msgbox <caption> <text>  shows a message box with OK and Cancel
//                                         (the two characters \n in text become a
//                                         line break) and exits with the answer
//   robot_target dialog                   shows dialog 200 and exits with the value
//                                         it ended with: 1 for OK, 2 for Cancel
// In the dialog, Apply writes "<edit>|<selected item>|<checked or unchecked>"
// into the label 1009, so that a test can see what the robot changed.
#include "robot_target_ids.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

std::string lineBreaks(std::string text) {
    for (size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1))
        text.replace(at, 2, "\n");
    return text;
}

std::string itemText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    LRESULT index = SendMessageA(control, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return "";
    char text[256] = "";
    if (SendMessageA(control, LB_GETTEXTLEN, index, 0) >= static_cast<LRESULT>(sizeof text))
        return "";
    SendMessageA(control, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_PATH, "C:\\Program Files\\Robot");
        for (const char* item : {"Alpha", "Beta", "Gamma"})
            SendDlgItemMessageA(dialog, IDC_ITEMS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        EnableWindow(GetDlgItem(dialog, IDC_LOCKED), FALSE);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDC_APPLY: {
            char path[512] = "";
            GetDlgItemTextA(dialog, IDC_PATH, path, sizeof path);
            bool checked = IsDlgButtonChecked(dialog, IDC_OPTION) == BST_CHECKED;
            std::string result = std::string(path) + "|" + itemText(dialog, IDC_ITEMS) + "|" +
                                 (checked ? "checked" : "unchecked");
            SetDlgItemTextA(dialog, IDC_RESULT, result.c_str());
            return TRUE;
        }
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, LOWORD(wparam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "msgbox") == 0)
        return MessageBoxA(nullptr, lineBreaks(argv[3]).c_str(), argv[2], MB_OKCANCEL | MB_ICONWARNING);
    if (argc == 2 && std::strcmp(argv[1], "dialog") == 0)
        return static_cast<int>(
            DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ROBOT_TARGET), nullptr, dialogProc, 0));
    return 100;
}
