// The install driver end to end under Wine: a fixture package (script,
// language file, setup.zip) installed into a folder of the test's own, with a
// real progress bar and status line in a window of this program standing in for
// the Progress page.
#include "install_thread.h"

#include "errors.h"
#include "owners.h"
#include "setup_model.h"
#include "system_folders.h"
#include "test_support.h"
#include "zip_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>

namespace {

constexpr unsigned kInstallFinished = 1045;

// The Progress page's stand-in: a window that counts the completion commands,
// with a progress bar whose messages are counted and timed, and a status line.
class FakeProgressPage {
public:
    FakeProgressPage() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = pageProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZRTestProgressPage";
        RegisterClassA(&windowClass);  // a second registration fails harmlessly
        page = CreateWindowExA(0, "ZRTestProgressPage", "page", WS_OVERLAPPEDWINDOW, 0, 0, 300, 120, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 5, 40, 280, 16, page, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        label = CreateWindowExA(0, "STATIC", "before", WS_CHILD | WS_VISIBLE, 5, 10, 280, 16, page, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        barProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FakeProgressPage::countingBar)));
    }
    ~FakeProgressPage() { DestroyWindow(page); }

    // Handles this thread's messages until the run posted its completion (or
    // the deadline passed).
    bool pumpUntilFinished(DWORD timeoutMs) {
        DWORD deadline = GetTickCount() + timeoutMs;
        while (finished == 0 && static_cast<LONG>(deadline - GetTickCount()) > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        return finished > 0;
    }

    // Handles messages for a while: a completion posted twice would arrive.
    void pumpFor(DWORD milliseconds) {
        DWORD deadline = GetTickCount() + milliseconds;
        while (static_cast<LONG>(deadline - GetTickCount()) > 0) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(10);
        }
    }

    int range() const { return static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)); }
    int position() const { return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)); }
    std::string labelText() const {
        char text[300] = {};
        GetWindowTextA(label, text, sizeof text);
        return text;
    }

    HWND page, bar, label;
    int finished = 0;
    std::vector<DWORD> steps;  // GetTickCount of each PBM_STEPIT
    int setRanges = 0;

private:
    static LRESULT CALLBACK pageProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<FakeProgressPage*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == WM_COMMAND && LOWORD(wparam) == kInstallFinished)
            ++self->finished;
        return DefWindowProcA(window, message, wparam, lparam);
    }
    static LRESULT CALLBACK countingBar(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<FakeProgressPage*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == PBM_STEPIT)
            self->steps.push_back(GetTickCount());
        if (message == PBM_SETRANGE32)
            ++self->setRanges;
        return CallWindowProcA(self->barProcedure, window, message, wparam, lparam);
    }

    WNDPROC barProcedure = nullptr;
};

std::string testName() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }

const char kEnglish[] =
    "[PROCESS_DIALOG]\r\nDialog_Title=Installing\r\n"
    "[UNINSTALL_DIALOG]\r\n1001=Uninstall\r\n1101=Remove\r\n1102=Remove %1?\r\n1201=Removing\r\n"
    "1202=Wait\r\n1203=Some left\r\n1204=Done\r\n1301=Shared\r\n1302=Remove %1 in %2?\r\n1400=Details\r\n"
    "1401=Left:\r\n1402=Folder:\t\r\n1403=File:\t\r\n";

// A package folder (script, English.dat and, unless told otherwise, setup.zip)
// and a product folder under a temporary folder. The test runs with the package
// folder as the current folder, as setup does.
class DriverFixture {
public:
    explicit DriverFixture(const std::string& script, bool withArchive = true) {
        zrtest::writeFile(package.file("Setup.ini"), script);
        zrtest::writeFile(package.file("English.dat"), kEnglish);
        if (withArchive)
            ziptest::writeZip(package.file("setup.zip"),
                              {{"AppDir\\a.txt", "alpha", ziptest::dosTime(2004, 5, 6, 7, 8, 10)},
                               {"Shared\\s.txt", "shared", ziptest::dosTime(2004, 5, 6, 7, 8, 10)},
                               {"System\\sys.txt", "system", ziptest::dosTime(2004, 5, 6, 7, 8, 10)}});
        GetCurrentDirectoryA(MAX_PATH, previousFolder);
        SetCurrentDirectoryA(package.path().c_str());
        SystemFolders folders = querySystemFolders();
        folders.setupDir = package.path();
        model = new SetupModel(folders);
        model->setAppDir(appDir());
    }
    ~DriverFixture() {
        try {
            endSetup();
        } catch (...) {
        }
        SetCurrentDirectoryA(previousFolder);
    }

    // Destroys the model as the end of setup does; its install log writes
    // setup.log, which may throw.
    void endSetup() {
        SetupModel* ending = model;
        model = nullptr;
        delete ending;
    }

    std::string appDir() const { return product.file("Product"); }

    // Runs the driver to its end with the fake page pumping messages.
    void run(FakeProgressPage& page) {
        InstallThread driver(page.page, *model, page.bar, page.label);
        driver.start();
        ASSERT_TRUE(page.pumpUntilFinished(60000));
        EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), driver.wait(10000));
        page.pumpFor(200);
    }

    zrtest::TempDir package;
    zrtest::TempDir product;
    SetupModel* model = nullptr;  // a unique_ptr could not pass on the log's failure
    char previousFolder[MAX_PATH] = {};
};

std::string scriptFor(const std::string& name) {
    return "[SETUP_INFO]\r\nDefaultInstallationPath=C:\\unused\r\n"
           "[GENERAL_INFO]\r\nCompanyName=ZRTest " + name + "\r\nProductName=Driver\r\nProductVersion=1.0\r\n"
           "[APPLICATION_FOLDERS]\r\n%AppDir%\r\n%AppDir%\\Data\r\n"
           "[APPLICATION_FILES]\r\n,AppDir\\a.txt,%AppDir%\\a.txt,0,0\r\n,AppDir\\missing.txt,%AppDir%\\m.txt,0,0\r\n"
           "[SHARED_FILES]\r\n,Shared\\s.txt,%AppDir%\\Shared\\s.txt,0,0\r\n"
           "[SYSTEM_FILES]\r\n,System\\sys.txt,%AppDir%\\Sys\\sys.txt,0,0\r\n"
           "[REGISTRY_ENTRIES]\r\nkey,HKCU,Software\\ZRTest\\" + name + "\r\n"
           "value,HKCU,Software\\ZRTest\\" + name + ",Path,S,%AppDir%\r\nkey,hklm,Software\\X\r\n"
           "[SHORTCUTS]\r\ns,%AppDir%\\Menu\\App,%AppDir%\\a.txt,,,,1,%AppDir%\r\nS,%AppDir%\\Menu\\Bad,x\r\n";
}
constexpr int kRecords = 2 + 2 + 1 + 1 + 3 + 2;

const char kUserData[] = "SOFTWARE\\Hevra Software\\Velmora\\UserData\\";

}  // namespace

TEST(InstallThread, RunsEverySectionAndWritesBothLogs) {
    const std::string name = testName();
    FakeProgressPage page;
    DriverFixture fixture(scriptFor(name));
    fixture.run(page);
    const std::string app = fixture.appDir();

    // One range, one step per record, the bar full at the end, one completion.
    EXPECT_EQ(1, page.setRanges);
    EXPECT_EQ(kRecords, page.range());
    EXPECT_EQ(kRecords, static_cast<int>(page.steps.size()));
    EXPECT_EQ(kRecords, page.position());
    EXPECT_EQ(1, page.finished);
    EXPECT_EQ("", page.labelText());

    EXPECT_EQ("alpha", zrtest::readFile(app + "\\a.txt"));
    EXPECT_EQ("shared", zrtest::readFile(app + "\\Shared\\s.txt"));
    EXPECT_EQ("system", zrtest::readFile(app + "\\Sys\\sys.txt"));
    EXPECT_TRUE(zrtest::exists(app + "\\Menu\\App.lnk"));
    EXPECT_EQ("Invalid major key:hklm\r\nUnknown link type:S\r\n", zrtest::readFile(app + "\\error.log"));

    fixture.endSetup();  // setup.log is written
    std::string company = std::string(kUserData) + "ZRTest " + name;
    std::string expected =
        "[COMMON]\r\nApplication_Name=Driver\r\n1001=Uninstall\r\n1101=Remove\r\n1102=Remove %1?\r\n"
        "1201=Removing\r\n1202=Wait\r\n1203=Some left\r\n1204=Done\r\n1301=Shared\r\n1302=Remove %1 in %2?\r\n"
        "1400=Details\r\n1401=Left:\r\n1402=Folder:\t\r\n1403=File:\t\r\n"
        "[SHAREDFILES]\r\n" + app + "\\Shared\\s.txt\r\n"
        "[STDFILES]\r\n" + app + "\\Sys\\sys.txt\r\n"
        "[APPFILES]\r\n" + app + "\\error.log\r\n" + app + "\\Menu\\App.lnk\r\n" + app + "\\a.txt\r\n" +
        app + "\\setup.log\r\n"
        "[APPFOLDERS]\r\n" + app + "\\Menu\r\n"
        "[APPDIR]\r\n" + app + "\\Data\r\n" + app + "\r\n"
        "[REGENTRY]\r\nHKLM," + company + "\\Driver\\1.0\r\nHKLM," + company + "\\Driver\r\nHKLM," + company + "\r\n"
        "HKCU,Software\\ZRTest\\" + name + "\r\n";
    EXPECT_EQ(expected, zrtest::readFile(app + "\\setup.log"));

    RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\ZRTest\\" + name).c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (company + "\\Driver\\1.0").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (company + "\\Driver").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, company.c_str());
}

TEST(InstallThread, ImitationChangesNothingAndStillStepsEvery50Ms) {
    const std::string name = testName();
    FakeProgressPage page;
    DriverFixture fixture(scriptFor(name));
    fixture.model->setVariable("Imitation", "Y");
    fixture.run(page);

    EXPECT_EQ(kRecords, static_cast<int>(page.steps.size()));
    for (size_t i = 1; i < page.steps.size(); ++i)
        EXPECT_GE(page.steps[i] - page.steps[i - 1], 40u) << "step " << i;  // paced, with timer slack
    EXPECT_EQ(1, page.finished);
    fixture.endSetup();

    EXPECT_FALSE(zrtest::exists(fixture.appDir()));
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\ZRTest\\" + name).c_str(), 0, KEY_READ, &key));
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUserData) + "ZRTest " + name).c_str(), 0, KEY_READ, &key));
}

TEST(InstallThread, MissingArchiveInstallsNothingAndStillFinishes) {
    const std::string name = testName();
    FakeProgressPage page;
    DriverFixture fixture(scriptFor(name), false);
    fixture.run(page);

    EXPECT_EQ(1, page.finished);
    EXPECT_EQ(0, static_cast<int>(page.steps.size()));
    EXPECT_FALSE(zrtest::exists(fixture.appDir() + "\\a.txt"));
    // Nothing made the product folder, so setup.log has nowhere to go: the end of
    // setup reports that instead of losing the log silently.
    try {
        fixture.endSetup();
        ADD_FAILURE() << "setup.log was written";
    } catch (const FileException& e) {
        EXPECT_EQ(fixture.appDir() + "\\setup.log", e.fileName());
        EXPECT_EQ(FileException::DiskFull, e.code());
    }
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\ZRTest\\" + name).c_str(), 0, KEY_READ, &key));
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUserData) + "ZRTest " + name).c_str(), 0, KEY_READ, &key));
}

TEST(InstallThread, StopAndWaitEndsTheRunBetweenRecordsAndKeepsWhatWasInstalled) {
    std::string script = "[APPLICATION_FOLDERS]\r\n";
    for (int i = 0; i < 60; ++i)
        script += "%AppDir%\\F" + std::to_string(i) + "\r\n";
    FakeProgressPage page;
    DriverFixture fixture(script);
    InstallThread driver(page.page, *fixture.model, page.bar, page.label);
    driver.start();
    DWORD deadline = GetTickCount() + 10000;
    while (page.steps.size() < 5 && static_cast<LONG>(deadline - GetTickCount()) > 0) {  // a few records through
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    driver.stopAndWait();  // must not deadlock on the run's sent messages
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), driver.wait(0));
    size_t stepsAtStop = page.steps.size();
    EXPECT_LT(stepsAtStop, 60u);
    page.pumpFor(200);
    EXPECT_EQ(1, page.finished);
    EXPECT_EQ(stepsAtStop, page.steps.size());  // nothing happened after the stop

    // The folders made so far are in the log, and only those.
    const std::vector<std::string>& made = fixture.model->installLog()->lines(InstallLog::AppDirList);
    EXPECT_EQ(stepsAtStop, made.size());
    for (size_t i = 0; i < made.size(); ++i)
        EXPECT_TRUE(zrtest::exists(made[i])) << made[i];
    EXPECT_FALSE(zrtest::exists(fixture.appDir() + "\\F59"));

    // A driver that never started stops at once.
    InstallThread unstarted(page.page, *fixture.model, page.bar, page.label);
    unstarted.stopAndWait();
}
