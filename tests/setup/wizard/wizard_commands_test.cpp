#include "wizard_commands.h"
#include "wizard_state.h"

#include <gtest/gtest.h>

TEST(WizardCommands, ShowCommandsFollowThePageList) {
    struct Row {
        int page;
        unsigned command;
    } rows[] = {
        {PageLanguage, 1030}, {PageWelcome, 1031}, {PageLicense, 1032}, {PageReadme, 1037},
        {PageUserInfo, 1038}, {PageTargetDirectory, 1033}, {PageProgramFolder, 1034}, {PageStart, 1035},
        {PageProgress, 1036}, {PageFinish, 1039}, {PageCompletionActions, 1041},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.command, showCommandOfPage(row.page)) << row.page;
        EXPECT_EQ(row.page, pageOfShowCommand(row.command)) << row.command;
    }
    EXPECT_EQ(0u, showCommandOfPage(11));
    EXPECT_EQ(-1, pageOfShowCommand(CmdNextPage));
    EXPECT_EQ(-1, pageOfShowCommand(1040));  // a gap in the numbers
}
