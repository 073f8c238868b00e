// The ICO reader on any bytes.
#include "graphics/formats/dibfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage image = vell::readIconFile(bytes);
    (void)image;
    return 0;
}
