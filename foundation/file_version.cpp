#include "owners.h"
#include "system_info.h"

FileVersion::FileVersion(const std::string& path) {
    // Only an executable image maps as a data file; anything else has no version.
    {
        Module image(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (!image)
            return;
    }
    // Read through the loaded module, as the version functions want a module file
    // name. A module whose dependencies are missing does not load: no version.
    Module module(LoadLibraryA(path.c_str()));
    if (!module)
        return;
    char moduleName[MAX_PATH] = {};
    if (!GetModuleFileNameA(module.get(), moduleName, MAX_PATH))
        return;
    DWORD unused = 0;
    DWORD size = GetFileVersionInfoSizeA(moduleName, &unused);
    if (size == 0)
        return;
    data_.assign(size, 0);
    if (!GetFileVersionInfoA(moduleName, 0, size, data_.data()))
        return;
    void* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueA(data_.data(), "\\", &fixed, &fixedSize) || fixedSize < sizeof fixed_)
        return;
    memcpy(&fixed_, fixed, sizeof fixed_);
    valid_ = fixed_.dwSignature == 0xFEEF04BD;
}
