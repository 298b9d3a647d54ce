#include "wizard_commands.h"

namespace {

// Index order of the page list: Language, Welcome, License, Readme, User
// information, Target directory, Program folder, Start, Progress, Finish,
// Completion actions.
const unsigned kShowCommands[] = {
    CmdShowLanguage, CmdShowWelcome,  CmdShowLicense,  CmdShowReadme,  CmdShowUserInfo,      CmdShowTargetDirectory,
    CmdShowProgramFolder, CmdShowStart, CmdShowProgress, CmdShowFinish, CmdCompletionActions,
};
constexpr int kPages = sizeof kShowCommands / sizeof kShowCommands[0];

}  // namespace

unsigned showCommandOfPage(int page) { return page >= 0 && page < kPages ? kShowCommands[page] : 0; }

int pageOfShowCommand(unsigned command) {
    for (int page = 0; page < kPages; ++page)
        if (kShowCommands[page] == command)
            return page;
    return -1;
}
