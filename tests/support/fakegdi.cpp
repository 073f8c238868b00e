#include "fakegdi.h"

#include <QImage>
#include <QRegion>

namespace testing_support {
namespace {

QString h(gdi::Handle handle) {
    return handle ? QString("#%1").arg(handle, 0, 16) : "0";
}

} // namespace

QStringList FakeGdi::calls(const QString& op) const {
    QStringList out;
    for (const QString& line : log)
        if (line.startsWith(op + "("))
            out << line;
    return out;
}

bool FakeGdi::enter(const QString& op, const QString& args) {
    log << QString("%1(%2)").arg(op, args);
    const auto it = refusals_.find(op);
    if (it == refusals_.end())
        return false;
    ++it->second.seen;
    const bool refused = it->second.nth == 0 || it->second.seen == it->second.nth;
    if (refused)
        log.last() += " refused";
    return refused;
}

gdi::HDC FakeGdi::CreateCompatibleDC(gdi::HDC ref) {
    return enter("CreateCompatibleDC", h(ref)) ? 0 : real.CreateCompatibleDC(ref);
}

gdi::HBITMAP FakeGdi::CreateDIBSection(gdi::HDC dc, const gdi::BITMAPINFOHEADER& header,
                                       std::uint32_t usage, void** bits, gdi::Handle section,
                                       std::uint32_t offset) {
    if (enter("CreateDIBSection",
              QString("%1,%2x%3").arg(h(dc)).arg(header.biWidth).arg(header.biHeight))) {
        *bits = nullptr;
        return 0;
    }
    return real.CreateDIBSection(dc, header, usage, bits, section, offset);
}

gdi::HBITMAP FakeGdi::CreateCompatibleBitmap(gdi::HDC dc, int width, int height) {
    return enter("CreateCompatibleBitmap", QString("%1,%2,%3").arg(h(dc)).arg(width).arg(height))
               ? 0
               : real.CreateCompatibleBitmap(dc, width, height);
}

gdi::HGDIOBJ FakeGdi::SelectObject(gdi::HDC dc, gdi::HGDIOBJ object) {
    return enter("SelectObject", h(dc) + "," + h(object)) ? 0 : real.SelectObject(dc, object);
}

bool FakeGdi::DeleteObject(gdi::HGDIOBJ object) {
    return enter("DeleteObject", h(object)) ? false : real.DeleteObject(object);
}

bool FakeGdi::DeleteDC(gdi::HDC dc) {
    return enter("DeleteDC", h(dc)) ? false : real.DeleteDC(dc);
}

bool FakeGdi::BitBlt(gdi::HDC dst, int x, int y, int w, int hh, gdi::HDC src, int sx, int sy,
                     std::uint32_t rop) {
    const QString args = QString("%1,%2,%3,%4,%5,%6,%7,%8,%9")
                             .arg(h(dst))
                             .arg(x)
                             .arg(y)
                             .arg(w)
                             .arg(hh)
                             .arg(h(src))
                             .arg(sx)
                             .arg(sy)
                             .arg(rop, 8, 16, QChar('0'));
    return enter("BitBlt", args) ? false : real.BitBlt(dst, x, y, w, hh, src, sx, sy, rop);
}

int FakeGdi::GetObjectA(gdi::HGDIOBJ object, int size, void* record) {
    return enter("GetObjectA", h(object)) ? 0 : real.GetObjectA(object, size, record);
}

gdi::HWND FakeGdi::GetDesktopWindow() {
    return enter("GetDesktopWindow", {}) ? 0 : real.GetDesktopWindow();
}

gdi::HDC FakeGdi::GetDC(gdi::HWND window) {
    return enter("GetDC", h(window)) ? 0 : real.GetDC(window);
}

int FakeGdi::ReleaseDC(gdi::HWND window, gdi::HDC dc) {
    return enter("ReleaseDC", h(window) + "," + h(dc)) ? 0 : real.ReleaseDC(window, dc);
}

gdi::HRGN FakeGdi::CreateRectRgn(int left, int top, int right, int bottom) {
    return enter("CreateRectRgn", QString("%1,%2,%3,%4").arg(left).arg(top).arg(right).arg(bottom))
               ? 0
               : real.CreateRectRgn(left, top, right, bottom);
}

bool FakeGdi::CombineRgn(gdi::HRGN destination, gdi::HRGN source1, gdi::HRGN source2, int mode) {
    const QString args =
        QString("%1,%2,%3,%4").arg(h(destination), h(source1), h(source2)).arg(mode);
    return enter("CombineRgn", args) ? false : real.CombineRgn(destination, source1, source2, mode);
}

int FakeGdi::SetWindowRgn(gdi::HWND window, gdi::HRGN region, bool redraw) {
    const QString args = QString("%1,%2,%3").arg(window).arg(h(region)).arg(redraw ? 1 : 0);
    return enter("SetWindowRgn", args) ? 0 : real.SetWindowRgn(window, region, redraw);
}

gdi::HBITMAP FakeGdi::CreateBitmap(int width, int height, std::uint32_t planes,
                                   std::uint32_t bitCount, const void* bits) {
    return enter("CreateBitmap",
                 QString("%1x%2 %3 %4").arg(width).arg(height).arg(planes).arg(bitCount))
               ? 0
               : real.CreateBitmap(width, height, planes, bitCount, bits);
}

bool FakeGdi::OpenClipboard(gdi::HWND owner) {
    return enter("OpenClipboard", h(owner)) ? false : real.OpenClipboard(owner);
}

bool FakeGdi::EmptyClipboard() {
    return enter("EmptyClipboard", {}) ? false : real.EmptyClipboard();
}

gdi::Handle FakeGdi::SetClipboardData(std::uint32_t format, gdi::Handle data) {
    return enter("SetClipboardData", QString("%1,%2").arg(format).arg(h(data)))
               ? 0
               : real.SetClipboardData(format, data);
}

bool FakeGdi::CloseClipboard() {
    return enter("CloseClipboard", {}) ? false : real.CloseClipboard();
}

int FakeGdi::MessageBoxA(gdi::HWND owner, const char* text, const char* caption,
                         std::uint32_t type) {
    if (real.clipboardOpen())
        clipboardOpenDuringMessage = true;
    return enter("MessageBoxA",
                 QString("%1,%2|%3|%4")
                     .arg(h(owner), QString::fromUtf8(text), QString::fromUtf8(caption))
                     .arg(type))
               ? 0
               : gdi::IDOK;
}

// Region data.
std::uint32_t FakeGdi::GetRegionData(gdi::HRGN region, std::uint32_t size, void* buffer) {
    return enter("GetRegionData", QString("%1,%2,%3").arg(h(region)).arg(size).arg(buffer ? 1 : 0))
               ? 0
               : real.GetRegionData(region, size, buffer);
}

gdi::HRGN FakeGdi::ExtCreateRegion(const void* xform, std::uint32_t size, const void* data) {
    return enter("ExtCreateRegion", QString("%1,%2").arg(xform ? 1 : 0).arg(size))
               ? 0
               : real.ExtCreateRegion(xform, size, data);
}

} // namespace testing_support
