#pragma once
// The setup engine's command line: only the first argument after the program's
// name is looked at, and only "-i" (any case) means something: a dry run.

// True when there are at least two arguments and argv[1] is "-i" in any case.
bool imitationRequested(int argc, const char* const* argv);
