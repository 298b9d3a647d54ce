// The folders createPath tries, in order, recorded against a simulated file
// system with Windows paths (on every platform): the walk itself, apart from
// what a real system answers.
#include "path_walk.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Folders that exist; creating one needs its parent. A name without a backslash
// is relative to the current folder, which exists.
struct SimulatedFolders {
    std::set<std::string> existing;
    std::vector<std::string> tried;

    bool make(const std::string& folder) {
        tried.push_back(folder);
        std::string name = folder;
        if (!name.empty() && name.back() == '\\')
            name.pop_back();
        if (name.empty() || existing.count(name))
            return false;
        size_t cut = name.rfind('\\');
        std::string parent = cut == std::string::npos ? "" : name.substr(0, cut);
        if (!parent.empty() && !existing.count(parent))
            return false;
        existing.insert(name);
        return true;
    }
};

}  // namespace

TEST(CreatePathWalk, TriesTheFoldersInOrder) {
    struct Row {
        const char* comment;
        const char* path;
        std::set<std::string> existing;
        std::vector<std::string> tried;
        bool result;
    } rows[] = {
        {"both levels missing: whole path, then each level", "C:\\A\\B\\", {"C:"},
         {"C:\\A\\B", "C:\\A", "C:\\A\\B"}, true},
        {"an existing folder: the last try fails too", "C:\\A", {"C:", "C:\\A"}, {"C:\\A", "C:\\A"}, false},
        {"three levels, the first present", "C:\\A\\B\\C", {"C:", "C:\\A"},
         {"C:\\A\\B\\C", "C:\\A", "C:\\A\\B", "C:\\A\\B\\C"}, true},
        {"UNC: the walk begins below the share", "\\\\server\\share\\a\\b", {"\\\\server\\share"},
         {"\\\\server\\share\\a\\b", "\\\\server\\share\\a", "\\\\server\\share\\a\\b"}, true},
        {"UNC, share unreachable: server and share never tried", "\\\\server\\share\\dir", {},
         {"\\\\server\\share\\dir", "\\\\server\\share\\dir"}, false},
        {"UNC server alone", "\\\\server", {}, {"\\\\server"}, false},
        {"UNC server and share only", "\\\\server\\share\\", {"\\\\server\\share"}, {"\\\\server\\share"}, false},
        {"bare relative name: created by the first try", "rel", {}, {"rel"}, true},
        {"relative, parent missing: the first level is never created", "x\\y", {}, {"x\\y", "x\\y"}, false},
        {"only one trailing backslash is removed", "C:\\A\\\\", {"C:", "C:\\A"}, {"C:\\A\\", "C:\\A"}, false},
        {"the empty path", "", {}, {""}, false},
        {"a drive root", "C:\\", {"C:"}, {"C:"}, false},
    };
    for (const Row& row : rows) {
        SimulatedFolders folders{row.existing, {}};
        bool result = detail::walkCreatePath(
            row.path, [&](const std::string& folder) { return folders.make(folder); }, '\\');
        EXPECT_EQ(row.result, result) << row.comment;
        EXPECT_EQ(row.tried, folders.tried) << row.comment;
    }
}
