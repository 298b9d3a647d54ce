#pragma once
// The setup engine's central object. It loads the setup script (Setup.ini) and a
// language file from the setup engine's folder, turns settings, system folders and
// dialog texts into variables, computes which wizard pages take part, and owns the
// install log of the run. One per process, owned by the entry point; the install
// thread reads it while the user-interface thread leaves it alone.

#include "font_description.h"
#include "ini_document.h"
#include "install_log.h"
#include "system_folders.h"
#include "variable_table.h"
#include "wizard_state.h"

#include <optional>
#include <string>

class SetupModel {
public:
    // Loads Setup.ini and the language file from folders.setupDir and sets every
    // variable. A script or language file that cannot be opened throws
    // FileException(bare name, 2), for example ("English.dat", 2).
    explicit SetupModel(const SystemFolders& folders);

    // Destroys the script, then the install log (which writes setup.log and may
    // throw FileException(path, 5); see ~InstallLog), then the language and the
    // variables.
    ~SetupModel() noexcept(false);

    SetupModel(const SetupModel&) = delete;
    SetupModel& operator=(const SetupModel&) = delete;

    // Variables (see VariableTable).
    std::string getVariable(const std::string& name) const { return variables_.getVariable(name); }
    void setVariable(const std::string& name, const std::string& value) { variables_.setVariable(name, value); }
    void expand(std::string& text) const { variables_.expand(text); }
    bool isTrue(const std::string& name) const { return variables_.isTrue(name); }
    FontSpec fontSpec(const std::string& name) const { return parseFontSpec(getVariable(name)); }

    // Named variables.
    std::string appDir() const { return getVariable("AppDir"); }
    void setAppDir(const std::string& value) { setVariable("AppDir", value); }
    std::string outputProgramGroup() const { return getVariable("OutputProgramGroup"); }
    void setOutputProgramGroup(const std::string& value) { setVariable("OutputProgramGroup", value); }
    std::string productName() const { return getVariable("ProductName"); }
    std::string companyName() const { return getVariable("CompanyName"); }
    std::string productVersion() const { return getVariable("ProductVersion"); }
    std::string defaultInstallationPath() const { return getVariable("DefaultInstallationPath"); }
    std::string defaultDirectoryName() const { return getVariable("DefaultDirectoryName"); }
    std::string defaultShortcutFolderName() const { return getVariable("DefaultShortcutFolderName"); }

    // The setup script's records, unexpanded (IniDocument::recordCount, record).
    int recordCount(const std::string& section) const { return script_.recordCount(section); }
    bool record(const std::string& section, int index, std::string* line) const {
        return script_.record(section, index, line);
    }

    // Wizard state (page indices of wizard_state.h).
    bool pageEnabled(int page) const { return wizard_.pageEnabled(page); }
    int startPage() const { return wizard_.startPage(); }
    int currentPage() const { return wizard_.currentPage(); }
    void setCurrentPage(int page) { wizard_.setCurrentPage(page); }
    int nextPage() const { return wizard_.nextPage(); }
    int previousPage() const { return wizard_.previousPage(); }

    // The Finish page's check boxes, from the script, and what the user chose.
    bool showViewReadme() const { return showViewReadme_; }
    void setShowViewReadme(bool value) { showViewReadme_ = value; }
    bool viewReadmeChecked() const { return viewReadmeChecked_; }
    void setViewReadmeChecked(bool value) { viewReadmeChecked_ = value; }
    bool showRunApplication() const { return showRunApplication_; }
    void setShowRunApplication(bool value) { showRunApplication_ = value; }
    bool runApplicationChecked() const { return runApplicationChecked_; }
    void setRunApplicationChecked(bool value) { runApplicationChecked_ = value; }
    bool viewReadmeChosen() const { return viewReadmeChosen_; }
    void setViewReadmeChosen(bool value) { viewReadmeChosen_ = value; }
    bool runApplicationChosen() const { return runApplicationChosen_; }
    void setRunApplicationChosen(bool value) { runApplicationChosen_ = value; }

    // Languages. languageName: item index of the expanded SetupLanguages (see
    // languageListItem); false and "English" when there is none.
    bool languageName(int index, std::string* name) const;
    // The raw text of key number of STRINGS in the current language file; empty
    // when missing (also after a failed changeLanguage, which leaves no file).
    std::string stringText(int number) const;
    // Switches to name + ".dat": reloads the texts of the pages in use, keeping the
    // earlier language's text wherever the new file has none, and sets
    // DefaultSetupLanguage. A file that cannot be opened throws
    // FileException(name + ".dat", 2) and leaves the model without a language file.
    void changeLanguage(const std::string& name);

    // The install log of this run, replacing (and so writing) any earlier one: it
    // records into AppDir\setup.log, starting with the product name and the 13
    // UNINSTALL_DIALOG lines of the current language. imitation gives a log that
    // records and writes nothing. The model owns the log; the reference stays
    // valid until the next call or the model's end. Writing the earlier log may
    // throw FileException(path, 5), and then no new log is made.
    InstallLog& createInstallLog(bool imitation);
    // The current install log, or nullptr before createInstallLog.
    InstallLog* installLog() const { return installLog_.get(); }

private:
    // Owns the install log. std::unique_ptr cannot: its destructor and reset are
    // noexcept, and the log's destruction may throw.
    class InstallLogSlot {
    public:
        InstallLogSlot() = default;
        ~InstallLogSlot() noexcept(false) { reset(nullptr); }
        InstallLogSlot(const InstallLogSlot&) = delete;
        InstallLogSlot& operator=(const InstallLogSlot&) = delete;
        InstallLog* get() const { return log_; }
        // Takes next before destroying the old log, so that when that destruction
        // throws the slot already holds next and never the destroyed log.
        void reset(InstallLog* next);

    private:
        InstallLog* log_ = nullptr;
    };

    void load(const SystemFolders& folders);
    void loadLanguage(const std::string& fileName);
    // The copy rule: set the variable only when the key's value is not empty.
    void copyScriptValue(const std::string& section, const std::string& key, const std::string& variable);
    void copyText(const std::string& section, const std::string& key, const std::string& variable);
    // The texts of a language-file section, except the keys listed in skip.
    void copyTexts(const char* section, const char* skip1 = nullptr, const char* skip2 = nullptr);
    void copyPageTexts(int page);

    std::string setupDir_;
    // Declared in the reverse of the order of destruction.
    VariableTable variables_;
    std::optional<IniDocument> language_;  // none after a failed change of language
    InstallLogSlot installLog_;
    IniDocument script_;

    WizardState wizard_;
    bool showViewReadme_ = false;
    bool viewReadmeChecked_ = false;
    bool showRunApplication_ = false;
    bool runApplicationChecked_ = false;
    bool viewReadmeChosen_ = false;
    bool runApplicationChosen_ = false;
};
