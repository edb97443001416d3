// The program from start to exit: settings, single-instance guard, splash,
// main window and dialogs, the first document window, the message loop and
// the shutdown in order.
#pragma once

namespace kvelo {

// Options: --root DIR (the program folder: kvel.ini, language files, DATA/).
int RunProgram(int argc, char** argv);

} // namespace kvelo
