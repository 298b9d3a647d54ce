// A stand-in for the programs that the Finish page's choices open: it appends
// "<its name> start <current folder>" to marker.txt beside itself, lives for a
// moment when its name says it is a readme viewer (so that the next step has
// something to wait for), then appends "<its name> end".
#include <windows.h>

#include <string>

namespace {

void append(const std::string& file, const std::string& line) {
    HANDLE handle = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    std::string text = line + "\r\n";
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(handle);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self = path;
    std::string folder = self.substr(0, self.rfind('\\'));
    std::string name = self.substr(self.rfind('\\') + 1);
    name = name.substr(0, name.rfind('.'));
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);

    std::string marker = folder + "\\marker.txt";
    append(marker, name + " start " + current);
    if (name.find("readme") != std::string::npos)
        Sleep(700);
    append(marker, name + " end");
    return 0;
}
