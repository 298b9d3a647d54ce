#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CommandLine, OnlyAFirstArgumentOfDashIInAnyCaseAsksForADryRun) {
    struct Row {
        std::vector<const char*> argv;
        bool imitation;
    } rows[] = {
        {{"setup.exe", "-i"}, true},
        {{"setup.exe", "-I"}, true},         // any case
        {{"setup.exe", "-i", "more"}, true}, // later arguments do not matter
        {{"setup.exe"}, false},
        {{"setup.exe", "/i"}, false},
        {{"setup.exe", "x", "-i"}, false},   // only the first argument counts
        {{"setup.exe", "-s"}, false},
        {{"setup.exe", "-ix"}, false},
        {{"setup.exe", ""}, false},
    };
    for (const Row& row : rows) {
        std::string shown;
        for (const char* arg : row.argv)
            shown += std::string(arg) + " ";
        EXPECT_EQ(row.imitation, imitationRequested(static_cast<int>(row.argv.size()), row.argv.data())) << shown;
    }
}
