#pragma once
// The registry writer of the install run: the REGISTRY_ENTRIES records, the
// keys of FILE_TYPES records and the product registration record. Keys it
// creates go into the install log for the uninstaller; keys that existed already
// and values are not logged. Failures of registry records become error.log
// lines; file types fail silently. Windows only.

#include "record_installer.h"

#include <windows.h>

#include <string>

class InstallLog;
class SetupModel;

class RegistryInstaller : public RecordInstaller {
public:
    // Both logs must outlive the installer.
    RegistryInstaller(InstallLog& installLog, ErrorLog& errors);

    RegistryInstaller(const RegistryInstaller&) = delete;
    RegistryInstaller& operator=(const RegistryInstaller&) = delete;

    // One record: key,root,path or value,root,path,name,type,data. A key that is
    // created now is logged as root text, comma, path. An unknown root, a key or
    // value that cannot be written and an unknown record type each add one
    // error line.
    void install(const std::string& record) override;

    // True only when the key did not exist and was created now. A key that
    // exists (and can be opened for all access) is left alone: false, no line.
    // A key that cannot be created adds "Cannot create key:" + path: false.
    bool createKey(HKEY root, const std::string& path);

    // Writes a value into an existing key; never creates the key. True when
    // written, and also when name, type or data is empty (nothing is written
    // then); false when the key cannot be opened, the type is unknown (see
    // registryType) or the write fails. Adds no error line itself.
    bool setValue(HKEY root, const std::string& path, const std::string& name, const std::string& type,
                  const std::string& data);

    // A FILE_TYPES record (see fileTypeKeys): writes the keys below
    // HKEY_CLASSES_ROOT with REG_SZ default values whose size leaves out the
    // terminating zero, and logs each as "HKCR," + path. An extension that is
    // registered already is left completely alone. True only when every key was
    // written; a key that cannot be created ends the record there, keeping what
    // was written.
    bool installFileType(const std::string& record);

    // The product registration record under HKEY_LOCAL_MACHINE (see
    // productRecordKeys): the company, product and version keys, each logged when
    // created now, and in the version key AppDir, AppShortcutFolder (AppSCFolder),
    // InstallSource (the running program's folder) and InstallerVersion "1.1".
    // Empty values are not written.
    void writeProductRecord(const SetupModel& model);

private:
    InstallLog& installLog_;
    ErrorLog& errors_;
};
