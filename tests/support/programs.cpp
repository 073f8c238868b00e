#include "support/programs.h"

#include "forms/brambleview/brambleview.h"
#include "forms/tallowbar/tallowbar.h"

namespace testing_support {

std::vector<ProgramUnderTest> programsUnderTest() {
    return {{"Tallowbar", &forms::tallowbar}, {"Brambleview", &forms::brambleview}};
}

QString upCaption(const forms::Program& program, int row) {
    return QString(program.indicators.up).replace("%1", program.probes.at(size_t(row)).name);
}

QString downCaption(const forms::Program& program, int row) {
    return QString(program.indicators.down).replace("%1", program.probes.at(size_t(row)).name);
}

} // namespace testing_support
