// One running copy of a program per user and display. The first start takes
// the program's place; a later start asks the copy there to come back and
// ends, so starting the program again (from a launcher or a key binding) is a
// keyboard way back to a window hidden in the tray. The place goes with the
// process however it ends, a crash included: nothing is left to clean up.
#pragma once

#include <functional>

namespace monitor {

class InstanceService {
public:
    enum class Claim {
        First,     // this start holds the place and runs
        Asked,     // the running copy was asked to come back: this start ends
        NoAnswer,  // a copy holds the place but does not answer: this start ends
        Unchecked, // no way to find other copies here: this start runs regardless
    };

    virtual ~InstanceService() = default;
    // Says on standard error why, for NoAnswer and Unchecked.
    virtual Claim claim() = 0;
    // What the copy holding the place does when a later start asks it to come
    // back; a request that came before is handed on now.
    virtual void onComeBack(std::function<void()> comeBack) = 0;
};

} // namespace monitor
