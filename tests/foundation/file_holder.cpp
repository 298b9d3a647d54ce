// file_holder HOW PATH READY STOP: holds PATH from this process until the named
// event STOP is set (or two minutes have passed), after setting the named event
// READY once it holds it. HOW is
//   open         opened for reading, others may read
//   open-delete  opened for reading, others may read, rename and delete it
//   lock         opened for reading, shared with nobody
//   load         loaded as a DLL
// Exit code 0 after holding, 2 when PATH could not be held, 3 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 5)
        return 3;
    const char* how = argv[1];
    const char* path = argv[2];
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    HANDLE stop = OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
    if (!ready || !stop)
        return 3;

    HANDLE file = INVALID_HANDLE_VALUE;
    HMODULE module = nullptr;
    DWORD share = std::strcmp(how, "open") == 0          ? FILE_SHARE_READ
                  : std::strcmp(how, "open-delete") == 0 ? FILE_SHARE_READ | FILE_SHARE_DELETE
                                                         : 0;
    if (std::strcmp(how, "load") == 0)
        module = LoadLibraryA(path);
    else if (share != 0 || std::strcmp(how, "lock") == 0)
        file = CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    else
        return 3;
    if (!module && file == INVALID_HANDLE_VALUE) {
        std::printf("cannot hold %s: error %lu\n", path, GetLastError());
        return 2;
    }

    SetEvent(ready);
    WaitForSingleObject(stop, 120000);
    if (module)
        FreeLibrary(module);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return 0;
}
