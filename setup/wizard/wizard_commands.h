#pragma once
// The wizard's vocabulary: every step of the page sequence is one of these
// numbers, delivered to the setup window as a private message or as the
// identifier of a WM_COMMAND. Pages end their dialogs with one of them.

enum WizardCommand : unsigned {
    CmdResume = 1025,               // Exit Setup dialog: the page that asked stays open
    CmdEndSetup = 1026,
    CmdStartWizard = 1027,          // from setup start or the splash window
    CmdNextPage = 1028,
    CmdPreviousPage = 1029,
    CmdShowLanguage = 1030,
    CmdShowWelcome = 1031,
    CmdShowLicense = 1032,
    CmdShowTargetDirectory = 1033,
    CmdShowProgramFolder = 1034,
    CmdShowStart = 1035,
    CmdShowProgress = 1036,
    CmdShowReadme = 1037,
    CmdShowUserInfo = 1038,
    CmdShowFinish = 1039,
    CmdCompletionActions = 1041,
    CmdInstallFinished = 1045,      // install run, to the Progress page
    CmdRunApplication = 1046,       // program-wait thread, to the setup window
};

// The show command of a page index (wizard_state.h), 0 for an index outside
// 0 to 10.
unsigned showCommandOfPage(int page);
// The page index a show command stands for, -1 for any other number.
int pageOfShowCommand(unsigned command);
