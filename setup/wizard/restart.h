#pragma once
// Restarting Windows at the end of setup, when files wait for the next start.

// Asks Windows to restart. On the NT family the process first enables its
// shutdown privilege, without which the request is refused. The result is not
// reported: setup ends either way.
//
// Tests cannot let Wine restart: when the environment variable ZR_FAKE_RESTART
// names a file, a line "restart" is appended to it instead.
void restartWindows();
