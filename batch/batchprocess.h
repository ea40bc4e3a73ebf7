#pragma once

// How the batch tool's process starts and ends: which application it needs, and how it
// leaves once the work is done. A run is often one of thousands in a script, so neither
// pays for what the command does not use.

// True when the command line names a command that draws: only that needs the GUI
// application, with its platform and fonts. --help, --version, an unknown command and
// the commands that only read and write tables start without it.
bool batchNeedsGui(int argc, char *argv[]);

// Flushes every stream and leaves the process with `code`, without tearing down the
// application, its platform and fonts or the documents: every file is written and closed
// by now, so the teardown would only cost time. In a build with AddressSanitizer the
// process must end normally for leaks to be checked, so there `code` is returned for main
// to return.
int leaveBatch(int code);
