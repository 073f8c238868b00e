// Copying a surface to the system clipboard as a bitmap in the screen's format.
#include "graphics/dibsection.h"
#include "graphics/screendc.h"

#include <QGuiApplication>

namespace vell {
namespace {

// A bitmap deleted when it goes, unless it was handed on.
class OwnedBitmap {
public:
    explicit OwnedBitmap(gdi::Gdi& gdi) : gdi_(gdi) {}
    ~OwnedBitmap() {
        if (bitmap_)
            gdi_.DeleteObject(bitmap_);
    }
    OwnedBitmap(const OwnedBitmap&) = delete;
    OwnedBitmap& operator=(const OwnedBitmap&) = delete;
    void reset(gdi::HBITMAP bitmap) { bitmap_ = bitmap; }
    gdi::HBITMAP get() const { return bitmap_; }
    void handOn() { bitmap_ = 0; }

private:
    gdi::Gdi& gdi_;
    gdi::HBITMAP bitmap_ = 0;
};

} // namespace

bool cDIBSection::CopyToClipboard(bool bAsDIB) {
    // Declared so that they go in this order: the memory context, the bitmap
    // if nobody took it, the screen's context.
    ScreenDC screen(gdi_);
    if (!screen.get())
        return false;
    OwnedBitmap bitmap(gdi_);
    MemoryDC memory(gdi_, screen.get());
    if (!memory.get())
        return false;
    if (bAsDIB) {
        gdi_.MessageBoxA(
            0, "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!",
            QGuiApplication::applicationDisplayName().toUtf8().constData(), gdi::MB_OK);
        return false;
    }
    if (!hMemDC)
        return false; // no surface: nothing to copy
    bitmap.reset(gdi_.CreateCompatibleBitmap(screen.get(), Width(), Height()));
    if (!bitmap.get() || !memory.select(bitmap.get()))
        return false;
    PaintPicture(memory.get(), 0, 0, -1, -1, 0, 0, gdi::SRCCOPY);
    memory.restore();
    if (!gdi_.OpenClipboard(0))
        return false;
    gdi_.EmptyClipboard();
    const bool accepted = gdi_.SetClipboardData(gdi::CF_BITMAP, bitmap.get()) != 0;
    if (accepted)
        bitmap.handOn();
    gdi_.CloseClipboard();
    return accepted;
}

} // namespace vell
