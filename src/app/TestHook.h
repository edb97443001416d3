// A test-only drive of the running program for the end-to-end test: with
// KVELO_TEST_SCRIPT="<document address>;<marker file>" in the environment the
// program opens the address in the active window, follows the document's first
// link through the viewer (as a click would) and then writes the marker file
// with the address on screen. A third field "stay" skips the link (for
// screenshots of a given document); an address "cmd:N" runs command N of the
// main window instead (the about box is 55). Does nothing without the variable.
#pragma once

namespace kvelo {

class TFrmMain;

void StartTestScript(TFrmMain& main);

} // namespace kvelo
