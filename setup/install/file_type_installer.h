#pragma once
// The FILE_TYPES section's processor: each record goes to the registry
// installer, which writes and logs its keys (RegistryInstaller::installFileType).
// Nothing is reported, to the user or to error.log. Windows only.

#include "record_installer.h"
#include "registry_installer.h"

class FileTypeInstaller : public RecordInstaller {
public:
    // registry must outlive this installer.
    explicit FileTypeInstaller(RegistryInstaller& registry) : registry_(registry) {}

    void install(const std::string& record) override { registry_.installFileType(record); }

private:
    RegistryInstaller& registry_;
};
