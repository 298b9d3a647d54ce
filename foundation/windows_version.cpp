#include "errors.h"
#include "system_info.h"

WindowsVersion::WindowsVersion() {
    ZeroMemory(&info_, sizeof info_);
    // The extended record first; systems that know only the short one refuse it.
    info_.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info_)))
        return;
    info_.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info_)))
        throw WinException("Couldn't check Windows version");
}
