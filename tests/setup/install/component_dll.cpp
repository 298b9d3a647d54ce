// A self-registering component for the file installer's tests, built at two
// versions (component_v1.dll 1.5.0.0, component_v2.dll 2.0.0.0). Its
// DllRegisterServer leaves a trace a test can check: the path it was loaded
// from, as the value "Registered" of HKCU\Software\ZRTest\FileInstaller.
#include <windows.h>

namespace {
HINSTANCE self;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ZRTest\\FileInstaller", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    RegSetValueExA(key, "Registered", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), length + 1);
    RegCloseKey(key);
    return S_OK;
}
