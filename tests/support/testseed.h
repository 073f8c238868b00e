// The seed of a test that draws random inputs: VELL_TEST_SEED when it is set,
// so a failure can be replayed, else a new one each run, so runs cover more.
// The seed goes to stdout and into every failure message of the test that
// holds it (as a Google Test trace), with the line that replays it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <source_location>
#include <string>

namespace testing_support {

class TestSeed {
public:
    explicit TestSeed(std::source_location at = std::source_location::current())
        : value_(pick()), trace_(at.file_name(), int(at.line()), replayLine(value_)) {
        std::cout << "[   SEED   ] " << replayLine(value_) << std::endl;
    }
    TestSeed(const TestSeed&) = delete;
    TestSeed& operator=(const TestSeed&) = delete;

    std::uint32_t value() const { return value_; }

private:
    static std::uint32_t pick() {
        if (const char* set = std::getenv("VELL_TEST_SEED"); set && *set)
            return std::uint32_t(std::strtoul(set, nullptr, 0));
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        return std::uint32_t(std::uint64_t(now) ^ std::uint64_t(now) >> 32);
    }
    static std::string replayLine(std::uint32_t seed) {
        return "seed " + std::to_string(seed) + " (VELL_TEST_SEED=" + std::to_string(seed) +
               " replays it)";
    }

    std::uint32_t value_;
    ::testing::ScopedTrace trace_;
};

} // namespace testing_support
