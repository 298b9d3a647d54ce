#pragma once
// The run of a package on the stub's worker thread: check the package's
// checksum, read its directory, unpack the carried files into a new folder,
// start the package's program there and wait for it, then delete what was
// unpacked. The worker reaches the dialog only through its window handles:
// sent messages to the progress bar, ShowWindow, and WM_CLOSE posted at its end.
// Windows only.

#include "package_directory.h"
#include "thread.h"

#include <windows.h>

#include <atomic>
#include <string>

// The dialog's window and the two controls the run reports to. Made on the
// user-interface thread when the dialog opens and read by the worker, so it is
// released only after the worker has ended.
struct ExtractorControls {
    explicit ExtractorControls(HWND dialog);

    HWND dialog;
    HWND status;
    HWND progressBar;
};

class ExtractorRun : public thread::Runnable {
public:
    // package and controls must outlive the worker thread.
    ExtractorRun(PackageDirectory& package, const ExtractorControls& controls);

    // The whole run. On every way out, including an exception, the unpacked
    // files and their folder are deleted, ended() becomes true and then WM_CLOSE
    // is posted to the dialog; the thread sends nothing after that.
    void run() override;

    // Asks the run to end early. It looks at the request while checking and
    // between two files; once the program has been started, the run still waits
    // for it, since deleting its files under it would break it.
    void requestStop() { stop_ = true; }
    bool ended() const { return ended_; }

private:
    void unpackAndStart();
    bool checksumMatches(const char* packagePath) const;
    void startProgram(const std::string& folder) const;
    static void onFileDone(uint32_t done, const PackedFile& file, void* self);

    PackageDirectory& package_;
    const ExtractorControls& controls_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> ended_{false};
};
