// The region maker on any bytes: it accepts or refuses without harm, and what
// it accepts reads back out as data that make the same pixels again.
#include "graphics/platform/qt/qtgdi.h"

#include <QRegion>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static gdi::qt::QtGdi gdi;
    const gdi::HRGN region = gdi.ExtCreateRegion(nullptr, std::uint32_t(size), data);
    if (!region)
        return 0;
    const std::uint32_t length = gdi.GetRegionData(region, 0, nullptr);
    std::vector<std::uint8_t> out(length);
    if (length == 0 || gdi.GetRegionData(region, length, out.data()) != length)
        std::abort();
    const gdi::HRGN again = gdi.ExtCreateRegion(nullptr, length, out.data());
    if (!again || !gdi.RegionPixels(region).xored(gdi.RegionPixels(again)).isEmpty())
        std::abort();
    gdi.DeleteObject(again);
    gdi.DeleteObject(region);
    return 0;
}
