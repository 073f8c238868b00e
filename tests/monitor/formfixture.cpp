#include "formfixture.h"

// Every ProgramWindow test, in every test file, runs once per program.
INSTANTIATE_TEST_SUITE_P(Programs, ProgramWindow,
                         ::testing::ValuesIn(testing_support::programsUnderTest()),
                         testing_support::programName);
