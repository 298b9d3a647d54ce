#include "split_path.h"

#include <gtest/gtest.h>

TEST(SplitPath, CutsAtTheLastBackslash) {
    struct Row {
        const char* path;
        const char* folder;
        const char* name;
    } rows[] = {
        {"C:\\Tools\\MyApp\\app.exe", "C:\\Tools\\MyApp", "app.exe"},  // full path
        {"app.exe", "", "app.exe"},                                  // bare name: no folder
        {"", "", ""},                                                // nothing at all
        {"C:\\Tools\\", "C:\\Tools", ""},                            // trailing backslash: no name
        {"\\app.exe", "", "app.exe"},                                // root of the drive
        {"C:/Tools/app.exe", "", "C:/Tools/app.exe"},                // slashes do not count
    };
    for (const Row& row : rows) {
        std::string folder = "old", name = "old";
        splitPath(row.path, &folder, &name);
        EXPECT_EQ(row.folder, folder) << row.path;
        EXPECT_EQ(row.name, name) << row.path;
    }
}

TEST(SplitPath, OutputMayBeTheInput) {
    std::string path = "C:\\Tools\\app.exe";
    std::string name;
    splitPath(path, &path, &name);
    EXPECT_EQ("C:\\Tools", path);
    EXPECT_EQ("app.exe", name);
}
