#pragma once
// Another process that holds a file (file_holder.exe) for as long as the object
// lives: the file is then in use the way an installer meets it.

#include "owners.h"
#include "thread.h"

#include <string>

class HolderProcess {
public:
    enum How {
        OpenShared,        // open for reading; others may read
        OpenSharedDelete,  // open for reading; others may read, rename and delete
        Locked,            // open and shared with nobody
        Loaded,            // loaded as a DLL
    };

    // Returns once the other process holds path; throws std::runtime_error when
    // it cannot.
    HolderProcess(How how, const std::string& path);
    ~HolderProcess();  // lets go and waits for the process to end
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;

private:
    std::string name_;  // of the two events
    thread::SyncEvent ready_;
    thread::SyncEvent stop_;
    UniqueHandle process_;
};
