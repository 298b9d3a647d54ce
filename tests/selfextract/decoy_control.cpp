// The control for the DLL decoys: a program that uses comctl32 and uxtheme the
// ordinary way, importing the one and loading the other by its bare name. Run
// from a folder that holds decoys of both, it shows whether the system (here,
// Wine with the test's DLL overrides) takes them, which is what makes the
// stub's check meaningful.
#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    return LoadLibraryA("uxtheme.dll") ? 0 : 1;
}
