// The PE resource reader on any bytes: headers, sections and a resource tree
// that may point anywhere, at itself included.
#include "graphics/formats/peresources.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vell::MemorySource source({data, size});
    const auto resources = vell::PeResources::open(source);
    if (!resources)
        return 0;
    // A user's language from the input's last bytes: any LANGID, none included.
    const std::uint16_t language = std::uint16_t(data[size - 1] << 8 | data[size - 2]);
    for (const char* name : {"#101", "#1", "#7", "SKIN", "ABC"}) {
        const auto entry = resources->find(QString::fromLatin1(name), language);
        if (!entry)
            continue;
        const auto bytes = resources->load(*entry);
        if (bytes.has_value() != resources->holds(*entry) ||
            (bytes && bytes->size() != qsizetype(entry->size)))
            std::abort();
    }
    return 0;
}
