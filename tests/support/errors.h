// The number of the runtime error f raises, 0 when it raises none.
#pragma once

#include "runtime/runtimeerror.h"

#include <functional>

namespace testing_support {

inline int errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const vell::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace testing_support
