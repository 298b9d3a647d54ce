// Sample Core: the shared component of the sample product. It registers itself
// as an in-process COM server under its class id, the way a real component
// does, so that self-registration during setup can be seen in the registry.

#include <windows.h>

namespace {

HINSTANCE g_module;
const char kClassKey[] = "CLSID\\{6D3C1F0A-52A1-4C55-9E0B-5A52C0DE0001}";

bool setDefault(const char* keyPath, const char* value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>(lstrlenA(value) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_module = module;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    char path[MAX_PATH];
    if (!GetModuleFileNameA(g_module, path, MAX_PATH))
        return E_FAIL;
    char serverKey[sizeof kClassKey + 32];
    wsprintfA(serverKey, "%s\\InprocServer32", kClassKey);
    if (!setDefault(kClassKey, "Sample Core") || !setDefault(serverKey, path))
        return E_FAIL;
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    char serverKey[sizeof kClassKey + 32];
    wsprintfA(serverKey, "%s\\InprocServer32", kClassKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, serverKey);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kClassKey);
    return S_OK;
}

extern "C" __declspec(dllexport) int __stdcall SampleCoreVersion() { return 0x0100; }
