#pragma once

// The program's message boxes and file dialogs: until this is called, messages go to
// standard error and file dialogs answer Cancel, as the batch tool and the tests want.
// The windowed program calls it once, after making its QApplication.
void useWindowDialogs();
