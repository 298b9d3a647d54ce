#include "holder_process.h"

#include "test_support.h"

#include <stdexcept>

namespace {

std::string nextName() {
    static unsigned counter = 0;
    return "zrholder_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

}  // namespace

HolderProcess::HolderProcess(How how, const std::string& path)
    : name_(nextName()), ready_(false, true, (name_ + "_ready").c_str()), stop_(false, true, (name_ + "_stop").c_str()) {
    static const char* const hows[] = {"open", "open-delete", "lock", "load"};
    std::string commandLine = "\"" + zrtest::binaryPath("tests/foundation/file_holder.exe") + "\" " + hows[how] +
                              " \"" + path + "\" " + name_ + "_ready " + name_ + "_stop";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        throw std::runtime_error("cannot start file_holder.exe");
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);

    // Either it holds the file, or it ends without.
    HANDLE either[] = {ready_.handle(), process_.get()};
    if (WaitForMultipleObjects(2, either, FALSE, 30000) != WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        TerminateProcess(process_.get(), 255);
        throw std::runtime_error("file_holder.exe could not hold " + path + ", exit code " + std::to_string(code));
    }
}

HolderProcess::~HolderProcess() {
    SetEvent(stop_.handle());  // no throwing here
    if (WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0)
        TerminateProcess(process_.get(), 255);
}
