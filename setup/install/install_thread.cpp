#include "install_thread.h"

#include "file.h"
#include "file_installer.h"
#include "file_type_installer.h"
#include "install_log.h"
#include "record_installer.h"
#include "registry_installer.h"
#include "setup_model.h"
#include "setup_process.h"
#include "shortcut_installer.h"

#include <commctrl.h>

const char* const kInstallSections[9] = {
    "APPLICATION_FOLDERS", "APPLICATION_FILES", "SHARED_FOLDERS", "SHARED_FILES", "SYSTEM_FOLDERS",
    "SYSTEM_FILES",        "REGISTRY_ENTRIES",  "FILE_TYPES",     "SHORTCUTS",
};

namespace {

constexpr unsigned kInstallFinished = 1045;  // CmdInstallFinished of the wizard
constexpr DWORD kRecordPause = 50;

// Unwinds the run when the user leaves setup during the installation.
struct StopRequested {};

}  // namespace

InstallThread::InstallThread(HWND page, SetupModel& model, HWND progressBar, HWND label)
    : page_(page), model_(model), progressBar_(progressBar), label_(label) {}

void InstallThread::setLabel(const char* text) {
    SendMessageA(label_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void InstallThread::processSection(const char* section, RecordInstaller& installer) {
    for (int i = 0; i < model_.recordCount(section); ++i) {
        if (stopRequested_.load())
            throw StopRequested();
        std::string record;
        if (!imitation_ && model_.record(section, i, &record)) {
            model_.expand(record);
            installer.install(record);
        }
        Sleep(kRecordPause);
        SendMessageA(progressBar_, PBM_STEPIT, 0, 0);
    }
}

void InstallThread::run() {
    try {
        int total = 0;
        for (const char* section : kInstallSections)
            total += model_.recordCount(section);
        SendMessageA(progressBar_, PBM_SETRANGE32, 0, total);
        SendMessageA(progressBar_, PBM_SETSTEP, 1, 0);
        setLabel("");

        imitation_ = model_.isTrue("Imitation");
        InstallLog& log = model_.createInstallLog(imitation_);
        // Destroyed in the reverse order at the end or on the way out of a
        // failure: the installers (the archive is closed), then the error list,
        // which writes error.log.
        ErrorLog errors(joinPath(model_.appDir(), "error.log"), log);
        FileInstaller files(log, label_);
        FolderInstaller folders(files);

        log.setCategory(InstallLog::ApplicationFiles);
        processSection("APPLICATION_FOLDERS", folders);
        processSection("APPLICATION_FILES", files);
        log.setCategory(InstallLog::SharedFiles);
        processSection("SHARED_FOLDERS", folders);
        processSection("SHARED_FILES", files);
        log.setCategory(InstallLog::SystemFiles);
        processSection("SYSTEM_FOLDERS", folders);
        processSection("SYSTEM_FILES", files);
        if (files.restartNeeded())
            setRestartNeeded();

        setLabel("Create registry keys");
        RegistryInstaller registry(log, errors);
        processSection("REGISTRY_ENTRIES", registry);
        FileTypeInstaller fileTypes(registry);
        processSection("FILE_TYPES", fileTypes);
        {
            ShortcutInstaller shortcuts(model_, log, errors, label_);
            processSection("SHORTCUTS", shortcuts);
        }
        if (!imitation_)
            registry.writeProductRecord(model_);
        setLabel("");
    } catch (...) {
        // Whatever ended the run (a missing archive, a failed error.log, the
        // user leaving), the wizard goes on as after a complete installation.
    }
    PostMessageA(page_, WM_COMMAND, kInstallFinished, 0);
}

void InstallThread::stopAndWait() {
    stopRequested_.store(true);
    if (!started())
        return;
    for (;;) {
        HANDLE thread = handle();
        DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return;  // the run has ended (or the wait failed: nothing more to wait for)
        // Handles the messages sent by the run, and leaves posted ones queued.
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    }
}
