#include "setup_model.h"

#include "errors.h"
#include "language_list.h"

#include <cstring>
#include <vector>

namespace {

struct TextKey {
    const char* key;
    const char* variable;
};

struct TextSection {
    const char* section;
    TextKey keys[12];  // ended by an entry with a null key
};

// Language-file texts and the variables the dialogs read them from.
const TextSection kTextSections[] = {
    {"LANGUAGE_DIALOG",
     {{"Dialog_Title", "LanguageTitle"}, {"Static1", "LanguageText1"}, {"Next", "LanguageNext"},
      {"Cancel", "LanguageCancel"}}},
    {"WELCOME_DIALOG",
     {{"Dialog_Title", "WelcomeTitle"}, {"Static1", "WelcomeText1"}, {"Static2", "WelcomeText2"},
      {"Static3", "WelcomeText3"}, {"Static4", "WelcomeText4"}, {"Back", "WelcomeBack"}, {"Next", "WelcomeNext"},
      {"Cancel", "WelcomeCancel"}}},
    {"LICENSE_DIALOG",
     {{"Dialog_Title", "LicenseTitle"}, {"Static1", "LicenseText1"}, {"Static2", "LicenseText2"},
      {"Back", "LicenseBack"}, {"Yes", "LicenseYes"}, {"No", "LicenseNo"}}},
    {"README_DIALOG",
     {{"Dialog_Title", "ReadmeTitle"}, {"Static1", "ReadmeText1"}, {"Back", "ReadmeBack"}, {"Next", "ReadmeNext"},
      {"Cancel", "ReadmeCancel"}}},
    {"USER_INFO_DIALOG",
     {{"Dialog_Title", "UserInfoTitle"}, {"Static1", "UserInfoText1"}, {"Static2", "UserInfoText2"},
      {"Static3", "UserInfoText3"}, {"Static4", "UserInfoText4"}, {"Back", "UserInfoBack"},
      {"Next", "UserInfoNext"}, {"Cancel", "UserInfoCancel"}}},
    {"TARGET_DIRECTORY_DIALOG",
     {{"Dialog_Title", "TargetDirTitle"}, {"Static1", "TargetDirText1"}, {"Static2", "TargetDirText2"},
      {"Static3", "TargetDirText3"}, {"Static4", "TargetDirText4"}, {"Static5", "TargetDirText5"},
      {"Static7", "TargetDirText7"}, {"Browse", "TargetDirBrowse"}, {"Back", "TargetDirBack"},
      {"Next", "TargetDirNext"}, {"Cancel", "TargetDirCancel"}}},
    {"CHOOSE_DIRECTORY_DIALOG", {{"Dialog_Title", "ChooseDirTitle"}, {"Static1", "ChooseDirText1"}}},
    {"PROGRAM_GROUP_DIALOG",
     {{"Dialog_Title", "ProgmanTitle"}, {"Static1", "ProgmanText1"}, {"Static2", "ProgmanText2"},
      {"Static3", "ProgmanText3"}, {"Back", "ProgmanBack"}, {"Next", "ProgmanNext"}, {"Cancel", "ProgmanCancel"}}},
    {"START_DIALOG",
     {{"Dialog_Title", "StartTitle"}, {"Static1", "StartSText1"}, {"Static2", "StartSText2"},
      {"String1", "StartEText1"}, {"String2", "StartEText2"}, {"Back", "StartBack"}, {"Next", "StartNext"},
      {"Cancel", "StartCancel"}}},
    {"PROCESS_DIALOG", {{"Dialog_Title", "ProcessTitle"}, {"Cancel", "ProcessCancel"}}},
    {"FINISH_DIALOG",
     {{"Dialog_Title", "FinishTitle"}, {"Static1", "FinishText1"}, {"Static2", "FinishText2"},
      {"Check1", "FinishCheck1"}, {"Check2", "FinishCheck2"}, {"Back", "FinishBack"}, {"Finish", "FinishFinish"}}},
    {"EXIT_SETUP_DIALOG",
     {{"Dialog_Title", "ExitSetupTitle"}, {"Static1", "ExitSetupText1"}, {"Static2", "ExitSetupText2"},
      {"Static3", "ExitSetupText3"}, {"Resume", "ExitResume"}, {"Exit", "ExitExit"}}},
};

// The pages Language to Start: their [DIALOGS] switch and their text section.
struct PageSource {
    const char* dialogSwitch;
    const char* textSection;
};
const PageSource kPages[PageStart + 1] = {
    {"DlgLanguageDialog", "LANGUAGE_DIALOG"},
    {"DlgWelcomeDialog", "WELCOME_DIALOG"},
    {"DlgLicenseDialog", "LICENSE_DIALOG"},
    {"DlgReadmeDialog", "README_DIALOG"},
    {"DlgUserInfoDialog", "USER_INFO_DIALOG"},
    {"DlgTargetDirectoryDialog", "TARGET_DIRECTORY_DIALOG"},
    {"DlgProgramGroupDialog", "PROGRAM_GROUP_DIALOG"},
    {"DlgStartDialog", "START_DIALOG"},
};

const char* const kGeneralInfoKeys[] = {
    "ProductName", "CompanyName", "ProductVersion", "ProductDescription", "ProductURL",
};
const char* const kSystemRequirementKeys[] = {
    "AnyWindows", "Windows95", "Windows98", "WindowsME", "WindowsNT4", "Windows2000", "WindowsXP",
    "AbortInstallation",
};
const char* const kDialogKeys[] = {
    "SplashWindow", "SetupWindow", "LanguageDialog", "WelcomeDialog", "LicenseDialog", "ReadmeDialog",
    "UserInfoDialog", "TargetDirectoryDialog", "ProgramGroupDialog", "StartDialog", "FinishDialog",
};
const char* const kSetupWindowKeys[] = {
    "WindowTitle", "GradientFill", "ColorFrom", "ColorTo",
    "Heading", "HeadingFont", "HeadingColor", "HeadingAlignment", "Heading3D",
    "Subheading", "SubheadingFont", "SubheadingColor", "SubheadingAlignment", "Subheading3D",
    "Footer", "FooterFont", "FooterColor", "FooterAlignment", "Footer3D",
};

constexpr int kUninstallTextLines = 13;

}  // namespace

void SetupModel::InstallLogSlot::reset(InstallLog* next) {
    InstallLog* old = log_;
    log_ = next;
    delete old;  // may throw; the slot is consistent by then
}

SetupModel::SetupModel(const SystemFolders& folders) : setupDir_(folders.setupDir) { load(folders); }

SetupModel::~SetupModel() noexcept(false) = default;

void SetupModel::load(const SystemFolders& folders) {
    // System folders.
    setVariable("ProgramFiles", folders.programFiles);
    setVariable("SetupDir", folders.setupDir);
    setVariable("WinDir", folders.winDir);
    setVariable("WinSysDir", folders.winSysDir);
    setVariable("Desktop", folders.desktop);
    setVariable("StartUp", folders.startUp);
    setVariable("StartMenu", folders.startMenu);
    setVariable("StartMenuPrograms", folders.startMenuPrograms);
    // The reference stays in the value, so the shortcut folder follows every later
    // choice of program folder.
    setVariable("AppSCFolder", folders.startMenuPrograms + "\\%OutputProgramGroup%");

    script_.load(setupDir_, "Setup.ini");

    for (const char* key : kGeneralInfoKeys)
        setVariable(key, script_.getString("GENERAL_INFO", key, ""));
    setVariable("Copyright", script_.getString("GENERAL_INFO", "CopyrightNotice", ""));
    setVariable("CommonFiles", folders.commonFiles);
    setVariable("SilentMode", script_.getString("SETUP_INFO", "SilentMode", ""));

    // The two default paths are expanded once, now: later changes of the
    // variables they mention must not move them.
    std::string installationPath = script_.getString("SETUP_INFO", "DefaultInstallationPath", "");
    expand(installationPath);
    setVariable("DefaultInstallationPath", installationPath);
    setVariable("AppDir", installationPath);
    size_t lastBackslash = installationPath.rfind('\\');
    setVariable("DefaultDirectoryName",
                lastBackslash == std::string::npos ? std::string() : installationPath.substr(lastBackslash + 1));

    std::string shortcutFolder = script_.getString("SETUP_INFO", "DefaultShortcutFolderName", "");
    expand(shortcutFolder);
    setVariable("DefaultShortcutFolderName", shortcutFolder);
    setVariable("OutputProgramGroup", shortcutFolder);

    copyScriptValue("SETUP_INFO", "DefaultSetupLanguage", "DefaultSetupLanguage");
    copyScriptValue("SETUP_INFO", "SetupLanguages", "SetupLanguages");

    std::string language = getVariable("DefaultSetupLanguage");
    loadLanguage((language.empty() ? std::string("English") : language) + ".dat");

    copyScriptValue("SETUP_INFO", "RequiredDiskSpace", "RequiredDiskSpace");
    for (const char* key : kSystemRequirementKeys)
        copyScriptValue("SYSTEM_REQUIREMENTS", key, std::string("SysReq") + key);
    for (const char* key : kDialogKeys)
        copyScriptValue("DIALOGS", key, std::string("Dlg") + key);

    if (isTrue("DlgSplashWindow"))
        copyScriptValue("SPLASH_WINDOW", "Bitmap_Pathname", "SplWBitmap_Pathname");
    if (isTrue("DlgSetupWindow"))
        for (const char* key : kSetupWindowKeys)
            copyScriptValue("SETUP_WINDOW", key, std::string("SW") + key);

    bool anyPage = false;
    for (int page = PageLanguage; page <= PageStart; ++page) {
        if (!isTrue(kPages[page].dialogSwitch))
            continue;
        anyPage = true;
        wizard_.enable(page);
        if (page == PageLicense)
            copyScriptValue("LICENSE_DIALOG", "License_Pathname", "License_Pathname");
        if (page == PageReadme)
            copyScriptValue("README_DIALOG", "Readme_Pathname", "Readme_Pathname");
        copyPageTexts(page);
    }

    copyTexts("PROCESS_DIALOG");

    if (isTrue("DlgFinishDialog")) {
        anyPage = true;
        wizard_.enable(PageFinish);
        copyTexts("FINISH_DIALOG", "Check1", "Check2");
        // These switches are read as the script's own booleans ("yes", "true" or a
        // leading "1"), unlike the variables: "Y" is false here.
        showViewReadme_ = script_.getBool("FINISH_DIALOG", "Show_ViewReadme_CheckBox", false);
        if (showViewReadme_) {
            viewReadmeChecked_ = script_.getBool("FINISH_DIALOG", "Show_ViewReadme_Checked", false);
            copyText("FINISH_DIALOG", "Check1", "FinishCheck1");
            copyScriptValue("FINISH_DIALOG", "Readme_Pathname", "FinalReadmePathname");
        }
        showRunApplication_ = script_.getBool("FINISH_DIALOG", "Show_RunApplication_CheckBox", false);
        if (showRunApplication_) {
            runApplicationChecked_ = script_.getBool("FINISH_DIALOG", "Show_RunApplication_Checked", false);
            copyText("FINISH_DIALOG", "Check2", "FinishCheck2");
            copyScriptValue("FINISH_DIALOG", "Application_Pathname", "Application_Pathname");
        }
    }

    if (anyPage)
        copyTexts("EXIT_SETUP_DIALOG");

    wizard_.enable(PageProgress);
    wizard_.enable(PageCompletionActions);
    wizard_.computeStartPage();
}

void SetupModel::loadLanguage(const std::string& fileName) {
    language_.reset();
    IniDocument document;
    document.load(setupDir_, fileName);
    language_ = std::move(document);
}

void SetupModel::copyScriptValue(const std::string& section, const std::string& key, const std::string& variable) {
    std::string value = script_.getString(section, key, "");
    if (!value.empty())
        setVariable(variable, value);
}

void SetupModel::copyText(const std::string& section, const std::string& key, const std::string& variable) {
    if (!language_)
        return;
    std::string value = language_->getString(section, key, "");
    if (!value.empty())
        setVariable(variable, value);
}

void SetupModel::copyTexts(const char* section, const char* skip1, const char* skip2) {
    for (const TextSection& texts : kTextSections) {
        if (std::strcmp(texts.section, section) != 0)
            continue;
        for (const TextKey* text = texts.keys; text->key; ++text) {
            if ((skip1 && std::strcmp(text->key, skip1) == 0) || (skip2 && std::strcmp(text->key, skip2) == 0))
                continue;
            copyText(section, text->key, text->variable);
        }
        return;
    }
}

void SetupModel::copyPageTexts(int page) {
    copyTexts(kPages[page].textSection);
    if (page == PageTargetDirectory)
        copyTexts("CHOOSE_DIRECTORY_DIALOG");
}

bool SetupModel::languageName(int index, std::string* name) const {
    return languageListItem(getVariable("SetupLanguages"), index, name);
}

std::string SetupModel::stringText(int number) const {
    if (!language_)
        return std::string();
    return language_->getString("STRINGS", std::to_string(number), "");
}

void SetupModel::changeLanguage(const std::string& name) {
    loadLanguage(name + ".dat");
    setVariable("DefaultSetupLanguage", name);
    // The Language page's own texts are not read again.
    for (int page = PageWelcome; page <= PageStart; ++page)
        if (isTrue(kPages[page].dialogSwitch))
            copyPageTexts(page);
    copyTexts("PROCESS_DIALOG");
    if (isTrue("DlgFinishDialog"))
        copyTexts("FINISH_DIALOG");
    copyTexts("EXIT_SETUP_DIALOG");
}

InstallLog& SetupModel::createInstallLog(bool imitation) {
    installLog_.reset(nullptr);  // writes the earlier log

    std::vector<std::string> common{"Application_Name=" + productName()};
    for (int line = 0; line < kUninstallTextLines; ++line) {
        std::string text;  // a missing line stays empty
        if (language_)
            language_->record("UNINSTALL_DIALOG", line, &text);
        common.push_back(text);
    }

    installLog_.reset(new InstallLog(appDir(), imitation));
    for (const std::string& line : common)
        installLog_.get()->addCommon(line);
    return *installLog_.get();
}
