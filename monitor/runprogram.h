// The one entry both programs share: a program is its window definition (and,
// for one with an embedded page, the browser that shows it).
#pragma once

#include "forms/shared/formdefinition.h"
#include "monitor/platform/webbrowser.h"

namespace monitor {

// Meets the display, names the application after the definition, loads and
// shows the main window and runs until the program ends. Returns the exit
// status.
int runProgram(const forms::Program& program, int argc, char** argv,
               const BrowserFactory& browser = {});

} // namespace monitor
