// The main window's run, once per user and display: a start that finds a copy
// already running asks it to come back and ends having made no window.
#pragma once

#include "forms/shared/formdefinition.h"
#include "monitor/controls/formbuilder.h"
#include "monitor/platform/desktop.h"
#include "monitor/platform/instance.h"

#include <functional>

namespace monitor {

class Form1;

// The status of a start whose running copy did not answer.
inline constexpr int NoAnswerStatus = 1;

// Claims the program's place. Where a copy runs, returns 0 once it was asked
// to come back, NoAnswerStatus when it did not answer. Otherwise loads and
// shows the main window (started sees it first), brings it back whenever a
// later start asks, and runs the event loop until the program ends: returns
// the loop's status.
int runOnce(const forms::Program& program, const Desktop& desktop, InstanceService& instance,
            const BuildOptions& options, const std::function<void(Form1&)>& started = {});

} // namespace monitor
