// The BMP reader on any bytes.
#include "graphics/formats/dibfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly size bytes, so any read past the end is caught.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage image = vell::readBitmapFile(bytes);
    (void)image;
    return 0;
}
