#pragma once
// The system's folders that the setup model turns into variables. The model only
// takes them as values, so its whole load runs and is tested anywhere; the setup
// program fills them from Windows with querySystemFolders().

#include <string>

struct SystemFolders {
    std::string programFiles;       // ProgramFiles
    std::string setupDir;           // SetupDir: the setup engine's folder, no trailing separator
    std::string winDir;             // WinDir
    std::string winSysDir;          // WinSysDir
    std::string desktop;            // Desktop: the current user's shell folders,
    std::string startUp;            // StartUp     empty when the shell cannot
    std::string startMenu;          // StartMenu   supply one
    std::string startMenuPrograms;  // StartMenuPrograms
    std::string commonFiles;        // CommonFiles
};

// Windows only (system_folders_win.cpp). ProgramFilesDir and CommonFilesDir of
// HKLM\Software\Microsoft\Windows\CurrentVersion, with "C:\Program Files" and
// "C:\Program Files\Common Files" when they cannot be read; the folder of the
// running executable; the Windows and system folders; the desktop, startup, Start
// menu and Programs folders of the current user.
SystemFolders querySystemFolders();
