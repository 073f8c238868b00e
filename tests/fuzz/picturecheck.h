// The picture readers as a picture file's bytes meet them, Qt's fallback
// included: the bytes are read twice, with fresh heap memory filled
// differently each time (glibc's M_PERTURB; sanitizer allocators ignore it
// and fill alike), and two pictures that differ mean a pixel came from the
// heap, not the data.
#pragma once

#include "graphics/formats/picturebytes.h"

#include <cstdint>
#include <cstdlib>

#include <malloc.h>

inline int checkPictureBytes(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QImage read[2];
    const int fills[2] = {0x55, 0xAA};
    for (int i = 0; i < 2; ++i) {
        mallopt(M_PERTURB, fills[i]);
        read[i] = vell::decodePicture(bytes);
    }
    mallopt(M_PERTURB, 0);
    if (read[0].isNull() != read[1].isNull())
        std::abort();
    if (read[0].isNull())
        return 0;
    // Compared through a branch on every pixel, so a checker of uninitialised
    // reads (valgrind, MSan) flags any that came from the heap.
    const QImage a = read[0].convertToFormat(QImage::Format_ARGB32);
    const QImage b = read[1].convertToFormat(QImage::Format_ARGB32);
    if (a.size() != b.size())
        std::abort();
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                std::abort();
    return 0;
}
