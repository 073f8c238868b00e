// The drawing-platform layer over Qt Gui. Bitmaps are either device-independent
// bitmaps (a zero-filled buffer in the caller's address space, 24-bit rows
// bottom-up) or images in the screen's 32-bit format; regions are XorRegions;
// a window is a QWindow found by its native id, shaped with QWindow::setMask.
#pragma once

#include "graphics/platform/gdi.h"
#include "graphics/platform/qt/xorregion.h"

#include <QImage>

#include <functional>
#include <memory>
#include <variant>
#include <vector>

namespace gdi::qt {

class QtGdi final : public Gdi {
public:
    QtGdi();
    ~QtGdi() override;

    HDC CreateCompatibleDC(HDC ref) override;
    HBITMAP CreateDIBSection(HDC dc, const BITMAPINFOHEADER& header, std::uint32_t usage,
                             void** bits, Handle section, std::uint32_t offset) override;
    HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) override;
    HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) override;
    bool DeleteObject(HGDIOBJ object) override;
    bool DeleteDC(HDC dc) override;
    bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
                std::uint32_t rop) override;
    int GetObjectA(HGDIOBJ object, int size, void* record) override;
    HWND GetDesktopWindow() override;
    HDC GetDC(HWND window) override;
    int ReleaseDC(HWND window, HDC dc) override;
    HRGN CreateRectRgn(int left, int top, int right, int bottom) override;
    bool CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) override;
    int SetWindowRgn(HWND window, HRGN region, bool redraw) override;
    HBITMAP CreateBitmap(int width, int height, std::uint32_t planes, std::uint32_t bitCount,
                         const void* bits) override;

    // The region's pixels, for whoever reads a shape back; empty for a bad handle.
    QRegion RegionPixels(HRGN region) const;
    bool OpenClipboard(HWND owner) override;
    bool EmptyClipboard() override;
    Handle SetClipboardData(std::uint32_t format, Handle data) override;
    bool CloseClipboard() override;
    int MessageBoxA(HWND owner, const char* text, const char* caption, std::uint32_t type) override;

    // Graphics has no widgets: a program hands in how a message box is shown.
    // Without one the text goes to the log and counts as answered with OK.
    using MessageBoxPresenter = std::function<int(const QString& text, const QString& caption)>;
    static void setMessageBoxPresenter(MessageBoxPresenter presenter);
    bool clipboardOpen() const { return clipboardOpen_; }

    // Live objects, for leak checks.
    int liveObjects() const;

    struct Bitmap {
        int width = 0;
        int height = 0;
        int bitsPerPixel = 1;
        int stride = 0;                      // bytes per row
        std::unique_ptr<std::uint8_t[]> dib; // 24-bit rows bottom-up, or null
        QImage image;                        // 32-bit top-down, when dib is null
        HDC selectedIn = 0;
    };
    struct Dc {
        HBITMAP selected = 0;
        HBITMAP stock = 0; // the default bitmap it was made with
        bool screen = false;
    };

    static constexpr Handle RegionBase = 0x40000000;

    // Region data.
    std::uint32_t GetRegionData(HRGN region, std::uint32_t size, void* buffer) override;
    HRGN ExtCreateRegion(const void* xform, std::uint32_t size, const void* data) override;

private:
    HRGN adoptRegion(XorRegion&& region);

    using Object = std::variant<std::monostate, Dc, Bitmap>;
    Handle add(Object object);
    template <typename T>
    T* get(Handle h);
    void release(Handle h);
    XorRegion* region(Handle h) { return const_cast<XorRegion*>(std::as_const(*this).region(h)); }
    const XorRegion* region(Handle h) const {
        const Handle i = h - RegionBase;
        return h >= RegionBase && i < regions_.size() && regions_[i].live ? &regions_[i].region
                                                                          : nullptr;
    }
    // A slot of the region pool: a freed one first, whose storage is kept.
    [[gnu::always_inline]] std::uint32_t takeRegionSlot() {
        if (!regionFree_.empty()) {
            const std::uint32_t i = regionFree_.back();
            regionFree_.pop_back();
            return i;
        }
        regions_.emplace_back();
        return std::uint32_t(regions_.size() - 1);
    }
    [[gnu::noinline]] bool combineAny(HRGN destination, HRGN source1, HRGN source2, int mode);

    std::vector<Object> objects_;
    std::vector<size_t> free_;
    // Regions live in a pool of their own: shaping a window makes and frees
    // thousands of them, and a reused one keeps its storage.
    struct PooledRegion {
        XorRegion region;
        bool live = false;
    };
    std::vector<PooledRegion> regions_;
    std::vector<std::uint32_t> regionFree_;
    bool clipboardOpen_ = false;
};

} // namespace gdi::qt
