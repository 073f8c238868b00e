// The drawing-platform layer: memory drawing contexts, bitmaps, regions and
// window shapes, with the calling conventions the surface and region classes
// are written against. Handles are opaque values; 0 means none.
//
// The product uses platform(), built over Qt Gui. Tests put in their own Gdi
// (one that refuses a call, or records calls) by handing it to the classes.
#pragma once

#include <cstdint>

namespace gdi {

using Handle = std::uintptr_t;
using HDC = Handle;
using HBITMAP = Handle;
using HRGN = Handle;
using HGDIOBJ = Handle;
using HWND = Handle;

// Bitmap description of a device-independent bitmap, little-endian, 40 bytes.
struct BITMAPINFOHEADER {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0; // positive: rows stored bottom-up
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

// What GetObjectA reports of a bitmap.
struct BITMAP {
    std::int32_t bmType = 0;
    std::int32_t bmWidth = 0;
    std::int32_t bmHeight = 0;
    std::int32_t bmWidthBytes = 0;
    std::uint16_t bmPlanes = 0;
    std::uint16_t bmBitsPixel = 0;
    void* bmBits = nullptr;
};

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t DIB_RGB_COLORS = 0;

// Raster operations.
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr std::uint32_t SRCPAINT = 0x00EE0086;
inline constexpr std::uint32_t SRCAND = 0x008800C6;
inline constexpr std::uint32_t SRCINVERT = 0x00660046;
inline constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr std::uint32_t DSTINVERT = 0x00550009;
inline constexpr std::uint32_t BLACKNESS = 0x00000042;
inline constexpr std::uint32_t WHITENESS = 0x00FF0062;

// Region combination modes.
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

// Clipboard formats and message boxes.
inline constexpr std::uint32_t CF_BITMAP = 2;
inline constexpr std::uint32_t MB_OK = 0;
inline constexpr int IDOK = 1;

class Gdi {
public:
    virtual ~Gdi() = default;

    // A memory context compatible with ref (0: the screen), holding a default
    // 1 x 1 monochrome bitmap; 0 on failure.
    virtual HDC CreateCompatibleDC(HDC ref) = 0;
    // A bitmap laid out as header says, its zero-filled buffer addressed by the
    // caller through *bits. section and offset must be 0.
    virtual HBITMAP CreateDIBSection(HDC dc, const BITMAPINFOHEADER& header, std::uint32_t usage,
                                     void** bits, Handle section, std::uint32_t offset) = 0;
    // A bitmap in the screen's format, width x height, all black.
    virtual HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) = 0;
    // Returns the object dc held before; 0 when the object cannot be selected.
    virtual HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) = 0;
    // Frees a bitmap no context holds, or a region.
    virtual bool DeleteObject(HGDIOBJ object) = 0;
    virtual bool DeleteDC(HDC dc) = 0;
    // Copies w x h at (sx, sy) of src's bitmap to (x, y) of dst's, clipped to
    // both; SRCCOPY converts between pixel formats.
    virtual bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
                        std::uint32_t rop) = 0;
    // Fills a BITMAP record; returns the bytes written, 0 on failure.
    virtual int GetObjectA(HGDIOBJ object, int size, void* record) = 0;
    virtual HWND GetDesktopWindow() = 0;
    virtual HDC GetDC(HWND window) = 0;
    virtual int ReleaseDC(HWND window, HDC dc) = 0;

    virtual HRGN CreateRectRgn(int left, int top, int right, int bottom) = 0;
    // destination = source1 (mode) source2. Returns false on a bad handle or
    // mode. Combining is lazy: the region's shape is worked out when read.
    virtual bool CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) = 0;
    // Shapes a window after the region, or takes its shape off (region 0). The
    // window gets its own copy: the region stays the caller's to delete.
    virtual int SetWindowRgn(HWND window, HRGN region, bool redraw) = 0;

    // A bitmap of width x height from 32-bit pixels (0x00RRGGBB words, rows
    // top-down, one plane); 0 for any other layout. Freed with DeleteObject.
    virtual HBITMAP CreateBitmap(int width, int height, std::uint32_t planes,
                                 std::uint32_t bitCount, const void* bits) = 0;

    // The system clipboard, opened by one caller at a time.
    virtual bool OpenClipboard(HWND owner) = 0;
    virtual bool EmptyClipboard() = 0;
    // Non-zero when the clipboard took the data; it then owns it (a bitmap
    // handle is no longer the caller's to delete).
    virtual Handle SetClipboardData(std::uint32_t format, Handle data) = 0;
    virtual bool CloseClipboard() = 0;
    // Shows text (UTF-8) under caption and waits until the user closes the box.
    virtual int MessageBoxA(HWND owner, const char* text, const char* caption,
                            std::uint32_t type) = 0;

    // Region data (see graphics/formats/regiondata.h).
    // With no buffer: the size in bytes of the region's data, 0 for a bad
    // handle. With one: writes the data and returns its size; 0 when size is
    // too small for it.
    virtual std::uint32_t GetRegionData(HRGN region, std::uint32_t size, void* buffer) = 0;
    // A new region from size bytes of region data; 0 when the data are not
    // acceptable or a transformation is asked for (xform must be null).
    virtual HRGN ExtCreateRegion(const void* xform, std::uint32_t size, const void* data) = 0;
};

// The process-wide layer over Qt Gui.
Gdi& platform();

} // namespace gdi
