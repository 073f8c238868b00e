#include "commands.h"

#include "runtime/runtimeerror.h"

namespace vellskin {

std::span<const Command> commands() {
    static const Command table[] = {
        {"region", "SKIN.bmp OUT.rgn",
         "save the region of the picture's non-black pixels (the window shape)", runRegion},
        {"info", "FILE.rgn", "show the header, the rectangle count and the bounding box", runInfo},
        {"render", "FILE.rgn OUT.bmp",
         "draw the region white on black, as big as its bounding box's right x bottom", runRender},
        {"extract", "MODULE ID-OR-NAME OUT.rgn",
         "save the region held by a PE module's RCDATA resource (#ID or name)", runExtract},
    };
    return table;
}

void fail(int number, const QString& description) {
    throw vell::RuntimeError(number, "vellskin", description);
}

} // namespace vellskin
