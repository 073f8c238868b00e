// vellskin render FILE.rgn OUT.bmp
#include "commands.h"

#include "graphics/dibfilewriter.h"
#include "graphics/dibsectionregion.h"

#include <QRegion>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

namespace vellskin {

int runRender(const QStringList& args) {
    vell::cDIBSectionRegion region;
    if (!region.LoadFromFile(args[0]))
        fail(InvalidArgument, args[0] + " holds no region data the region maker accepts");
    const QRegion pixels = gdi::platform().RegionPixels(region.hRgn());
    const QRect box = pixels.boundingRect();
    const int width = pixels.isEmpty() ? 0 : box.right() + 1;
    const int height = pixels.isEmpty() ? 0 : box.bottom() + 1;
    if (width <= 0 || height <= 0)
        fail(InvalidArgument, "the region has no pixel right of and below the origin to draw");
    vell::cDIBSection dib;
    if (!dib.Create(width, height))
        fail(7, "Out of memory");
    const vell::ByteView bits = dib.Bits();
    for (const QRect& r : pixels) { // white inside; the new surface is black
        const int left = std::max(r.left(), 0), right = r.right() + 1;
        if (right <= left)
            continue;
        for (int y = std::max(r.top(), 0); y <= r.bottom(); ++y) {
            const auto row = bits.row(height - 1 - y); // buffer rows are bottom-up
            std::fill(row.begin() + 3 * left, row.begin() + 3 * right, std::uint8_t(255));
        }
    }
    QSaveFile out(args[1]);
    const QByteArray file = vell::bitmapFileBytes(dib);
    if (file.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(file) != file.size() ||
        !out.commit())
        fail(75, "Path/File access error: " + args[1]);
    std::printf("%s: %dx%d\n", qPrintable(args[1]), width, height);
    return 0;
}

} // namespace vellskin
