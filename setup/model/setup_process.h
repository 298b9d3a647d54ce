#pragma once
// The few values that the whole setup process shares: set once at start (the
// restart flag once by the install run) and read by the windows, pages and
// threads. Windows only.

#include <windows.h>

class SetupModel;

constexpr char kSetupWindowClass[] = "ZRSetup";
constexpr char kSplashWindowClass[] = "ZRSetupSplash";

// The program instance, stored first thing at start.
HINSTANCE programInstance();
void setProgramInstance(HINSTANCE instance);

// The model, published once it is built and the command line is read; null
// before and after. The entry point owns it.
SetupModel* processModel();
void publishModel(SetupModel* model);

// Raised by the install run when a file could only be replaced at the next
// start of Windows; read when setup ends, to offer the restart. Safe across
// threads.
bool restartNeeded();
void setRestartNeeded();
