// Shortcuts saved through the real shell objects of Wine into temporary
// folders, read back through IShellLinkA and from the saved files.
#include "shortcut_installer.h"

#include "install_run.h"
#include "owners.h"
#include "setup_model.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using installtest::InstallRun;
using Lines = std::vector<std::string>;

namespace {

// What a saved shell link holds, read back through the shell.
struct LinkContents {
    std::string target, arguments, workingFolder, iconFile;
    int iconIndex = -1;
    uint32_t showCommand = 0;  // from the file's header: Wine reads back 1 whatever was saved
};

LinkContents readLink(const std::string& path) {
    LinkContents contents;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.receive())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.receive())) || FAILED(file->Load(widePath, STGM_READ))) {
        ADD_FAILURE() << "cannot load " << path;
        return contents;
    }
    char text[MAX_PATH * 4];
    text[0] = '\0';
    link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    contents.target = text;
    text[0] = '\0';
    link->GetArguments(text, sizeof text);
    contents.arguments = text;
    text[0] = '\0';
    link->GetWorkingDirectory(text, sizeof text);
    contents.workingFolder = text;
    text[0] = '\0';
    link->GetIconLocation(text, sizeof text, &contents.iconIndex);
    contents.iconFile = text;
    // The header's show command field, at offset 60 of the file.
    std::string bytes = zrtest::readFile(path);
    if (bytes.size() >= 64)
        contents.showCommand = static_cast<uint8_t>(bytes[60]) | static_cast<uint8_t>(bytes[61]) << 8 |
                               static_cast<uint8_t>(bytes[62]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[63])) << 24;
    return contents;
}

// A drive letter that this system does not have.
std::string missingDrive() {
    DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y'; ++letter)
        if (!(drives & (1u << (letter - 'A'))))
            return std::string(1, letter) + ":";
    return "";
}

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);  // for reading links back
        target = menu.file("app.exe");
        zrtest::writeFile(target, "MZ");
    }
    void TearDown() override { CoUninitialize(); }

    // The error lines that install added.
    Lines install(ShortcutInstaller& installer, InstallRun& run, const std::string& record) {
        size_t before = run.errors.lines().size();
        installer.install(record);
        return Lines(run.errors.lines().begin() + static_cast<std::ptrdiff_t>(before), run.errors.lines().end());
    }

    zrtest::TempDir menu;  // stands for the Start menu
    std::string target;
    std::unique_ptr<SetupModel> owned = std::make_unique<SetupModel>(installtest::fixtureFolders());
    SetupModel& model = *owned;
};

}  // namespace

TEST_F(Shortcuts, ShellLinkCarriesEveryFieldAndItsNewFoldersAreLogged) {
    const std::string folder = menu.file("Menu") + "\\Prod";
    const std::string record = "s," + folder + "\\App," + target + ",-x --y," + target + ",2,3," + menu.path();
    InstallRun run;
    {
        ShortcutInstaller installer(model, run.log, run.errors, nullptr);
        EXPECT_EQ(Lines{}, install(installer, run, record));
    }
    // Two new levels, the upper one first; the shortcut as a file.
    EXPECT_EQ((Lines{menu.file("Menu"), folder}), run.folders());
    EXPECT_EQ(Lines{folder + "\\App.lnk"}, run.files());

    LinkContents link = readLink(folder + "\\App.lnk");
    EXPECT_STRCASEEQ(target.c_str(), link.target.c_str());
    EXPECT_EQ("-x --y", link.arguments);
    EXPECT_STRCASEEQ(menu.path().c_str(), link.workingFolder.c_str());
    EXPECT_STRCASEEQ(target.c_str(), link.iconFile.c_str());
    EXPECT_EQ(2, link.iconIndex);
    EXPECT_EQ(3u, link.showCommand);  // SW_SHOWMAXIMIZED

    // The same record again: the folders exist and are not logged, the shortcut
    // is saved over the old one and logged again.
    InstallRun again;
    {
        ShortcutInstaller installer(model, again.log, again.errors, nullptr);
        EXPECT_EQ(Lines{}, install(installer, again, record));
    }
    EXPECT_EQ(Lines{}, again.folders());
    EXPECT_EQ(Lines{folder + "\\App.lnk"}, again.files());
}

TEST_F(Shortcuts, ShellLinkFieldsAreOptional) {
    struct Row {
        std::string record;
        const char* name;
        std::string iconFile;
        int iconIndex;
    } rows[] = {
        // an icon with an empty index uses icon 0
        {"s," + menu.file("NoIndex") + "," + target + ",," + target + ",,1", "NoIndex.lnk", target, 0},
        // only two fields: an empty target and nothing else
        {"s," + menu.file("Bare"), "Bare.lnk", "", 0},
    };
    InstallRun run;
    ShortcutInstaller installer(model, run.log, run.errors, nullptr);
    for (const Row& row : rows) {
        EXPECT_EQ(Lines{}, install(installer, run, row.record)) << row.record;
        LinkContents link = readLink(menu.file(row.name));
        EXPECT_STRCASEEQ(row.iconFile.c_str(), link.iconFile.c_str()) << row.name;
        EXPECT_EQ(row.iconIndex, link.iconIndex) << row.name;
        EXPECT_EQ("", link.arguments) << row.name;
        EXPECT_EQ("", link.workingFolder) << row.name;
    }
    EXPECT_EQ("", readLink(menu.file("Bare.lnk")).target);
    EXPECT_EQ((Lines{menu.file("NoIndex.lnk"), menu.file("Bare.lnk")}), run.files());
    EXPECT_EQ(Lines{}, run.folders());  // the folder existed
}

TEST_F(Shortcuts, LinkPathAndTargetAreExpandedOnceMore) {
    model.setVariable("ZRLinkFolder", menu.path());
    model.setVariable("ZRTarget", target);
    InstallRun run;
    ShortcutInstaller installer(model, run.log, run.errors, nullptr);
    EXPECT_EQ(Lines{}, install(installer, run, "s,%ZRLinkFolder%\\Expanded,%ZRTarget%"));
    EXPECT_STRCASEEQ(target.c_str(), readLink(menu.file("Expanded.lnk")).target.c_str());
}

TEST_F(Shortcuts, InternetShortcutStoresItsUrl) {
    struct Row {
        const char* type;
        const char* name;
        const char* url;
        const char* stored;
    } rows[] = {
        {"i", "Web Site", "http://www.example.com/tool", "URL=http://www.example.com/tool\r\n"},
        {"w", "Other Site", "ftp://example.com/", "URL=ftp://example.com/\r\n"},  // w is the same as i
        // Asked to complete a scheme-less address, Wine 8 stores it as given
        // (Windows would make it http://www.example.com).
        {"i", "No Scheme", "www.example.com", "URL=www.example.com\r\n"},
    };
    InstallRun run;
    ShortcutInstaller installer(model, run.log, run.errors, nullptr);
    Lines files;
    for (const Row& row : rows) {
        std::string path = menu.file("Web") + "\\" + row.name;
        EXPECT_EQ(Lines{}, install(installer, run, std::string(row.type) + "," + path + "," + row.url)) << row.name;
        std::string contents = zrtest::readFile(path + ".url");
        EXPECT_NE(std::string::npos, contents.find(row.stored)) << contents;
        files.push_back(path + ".url");
    }
    EXPECT_EQ(files, run.files());
    EXPECT_EQ(Lines{menu.file("Web")}, run.folders());
}

TEST_F(Shortcuts, FailuresBecomeTheirErrorLines) {
    const std::string drive = missingDrive();
    ASSERT_FALSE(drive.empty());
    const std::string longName(300, 'n');
    struct Row {
        std::string record;
        Lines lines;
    } rows[] = {
        // type characters are compared case included
        {"S," + menu.file("Capital") + "," + target, {"Unknown link type:S"}},
        {"," + menu.file("NoType"), {"Unknown link type:"}},
        // no link path, also after expansion
        {"s,," + target, {"bad format Shortcut record:link path is empty"}},
        {"s,%ZRNothing%," + target, {"bad format Shortcut record:link path is empty"}},
        {"s", {"bad format Shortcut record:link path is empty"}},
        // a drive that does not exist: no folder, and the save fails too
        {"s," + drive + "\\Menu\\App," + target,
         {"can't make dir for shortcut:" + drive + "\\Menu", "can't save shortcut:" + drive + "\\Menu\\App.lnk"}},
        {"i," + drive + "\\Menu\\Site,http://example.com/",
         {"can't make dir for shortcut:" + drive + "\\Menu", "can't save shortcut:" + drive + "\\Menu\\Site.url"}},
        // paths the shell's 260-character buffers cannot hold are refused, never cut
        {"s," + menu.file(longName) + "," + target, {"can't save shortcut:" + menu.file(longName) + ".lnk"}},
        {"s," + menu.file(longName) + "\\App," + target,
         {"can't make dir for shortcut:" + menu.file(longName), "can't save shortcut:" + menu.file(longName) + "\\App.lnk"}},
    };
    InstallRun run;
    ShortcutInstaller installer(model, run.log, run.errors, nullptr);
    for (const Row& row : rows)
        EXPECT_EQ(row.lines, install(installer, run, row.record)) << row.record;
    EXPECT_EQ(Lines{}, run.files());
    EXPECT_EQ(Lines{}, run.folders());
    EXPECT_FALSE(zrtest::exists(menu.file("Capital.lnk")) || zrtest::exists(menu.file("Capital.url")));
    EXPECT_FALSE(zrtest::exists(menu.file(longName)));
}

TEST_F(Shortcuts, LongestPathThatFitsIsSaved) {
    // 259 characters with the extension: the most a 260-character buffer holds.
    std::string base = menu.file("");
    std::string path = base + std::string(259 - 4 - base.size(), 'x');
    InstallRun run;
    ShortcutInstaller installer(model, run.log, run.errors, nullptr);
    EXPECT_EQ(Lines{}, install(installer, run, "s," + path + "," + target));
    EXPECT_TRUE(zrtest::exists(path + ".lnk"));
    EXPECT_EQ(Lines{"can't save shortcut:" + path + "x.lnk"}, install(installer, run, "s," + path + "x," + target));
}

TEST_F(Shortcuts, LabelShowsTheStepWhileTheInstallerLives) {
    HWND label = CreateWindowExA(0, "STATIC", "before", 0, 0, 0, 100, 20, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, label);
    char text[64];
    InstallRun run;
    {
        ShortcutInstaller installer(model, run.log, run.errors, label);
        GetWindowTextA(label, text, sizeof text);
        EXPECT_STREQ("Create shortcuts", text);
    }
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ("", text);
    DestroyWindow(label);
}
