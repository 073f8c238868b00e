// An instance service for tests: claims what it is told to and lets the test
// play a later start asking the running copy to come back.
#pragma once

#include "monitor/platform/instance.h"

#include <functional>

namespace testing_support {

class FakeInstance final : public monitor::InstanceService {
public:
    explicit FakeInstance(Claim answer) : answer_(answer) {}

    Claim claim() override {
        ++claims;
        return answer_;
    }
    void onComeBack(std::function<void()> comeBack) override {
        comeBack_ = std::move(comeBack);
        if (askedEarly && comeBack_) {
            askedEarly = false;
            comeBack_();
        }
    }
    // A later start asks; false when no one listens.
    bool ask() {
        if (!comeBack_)
            return false;
        comeBack_();
        return true;
    }
    bool listening() const { return bool(comeBack_); }

    int claims = 0;
    bool askedEarly = false; // a start that asked while the window was loading

private:
    Claim answer_;
    std::function<void()> comeBack_;
};

} // namespace testing_support
