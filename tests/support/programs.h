// The programs whose shared behaviour every parametrised window test checks.
#pragma once

#include "forms/shared/formdefinition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testing_support {

struct ProgramUnderTest {
    std::string name;
    forms::Program (*make)();
};

std::vector<ProgramUnderTest> programsUnderTest();

inline void PrintTo(const ProgramUnderTest& program, std::ostream* out) {
    *out << program.name;
}

inline std::string programName(const ::testing::TestParamInfo<ProgramUnderTest>& info) {
    return info.param.name;
}

// The caption a row shows for an up or a down answer, as a player reads it.
QString upCaption(const forms::Program& program, int row);
QString downCaption(const forms::Program& program, int row);

} // namespace testing_support
