#include "graphics/platform/qt/qtgdi.h"

#include "graphics/formats/regiondata.h"
#include "graphics/platform/qt/windowlookup.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QRegion>
#include <QWindow>

#include <algorithm>
#include <cstring>

namespace gdi::qt {
namespace {

constexpr Handle HandleBase = 0x1000; // handles never look like small integers
constexpr HWND DesktopWindow = 0x10010;

// Pixel access in picture coordinates (0, 0 at the top-left) for both kinds:
// DIB rows lie bottom-up, image rows top-down.
size_t dibOffset(const QtGdi::Bitmap& b, int x, int y) {
    return size_t(b.height - 1 - y) * size_t(b.stride) + size_t(x) * 3;
}

QRgb readPixel(const QtGdi::Bitmap& b, int x, int y) {
    if (b.dib) {
        const std::uint8_t* p = b.dib.get() + dibOffset(b, x, y);
        return qRgb(p[2], p[1], p[0]);
    }
    return reinterpret_cast<const QRgb*>(b.image.constScanLine(y))[x] & 0xFFFFFF;
}

void writePixel(QtGdi::Bitmap& b, int x, int y, QRgb c) {
    if (b.dib) {
        std::uint8_t* p = b.dib.get() + dibOffset(b, x, y);
        p[0] = std::uint8_t(qBlue(c));
        p[1] = std::uint8_t(qGreen(c));
        p[2] = std::uint8_t(qRed(c));
        return;
    }
    reinterpret_cast<QRgb*>(b.image.scanLine(y))[x] = 0xFF000000u | c;
}

bool rasterOp(std::uint32_t rop, QRgb s, QRgb d, QRgb* out) {
    switch (rop) {
    case SRCCOPY:
        *out = s;
        return true;
    case SRCPAINT:
        *out = s | d;
        return true;
    case SRCAND:
        *out = s & d;
        return true;
    case SRCINVERT:
        *out = s ^ d;
        return true;
    case NOTSRCCOPY:
        *out = ~s & 0xFFFFFF;
        return true;
    case DSTINVERT:
        *out = ~d & 0xFFFFFF;
        return true;
    case BLACKNESS:
        *out = 0;
        return true;
    case WHITENESS:
        *out = 0xFFFFFF;
        return true;
    default:
        return false;
    }
}

QtGdi::Bitmap imageBitmap(QImage image, int bitsPerPixel) {
    QtGdi::Bitmap b;
    b.width = image.width();
    b.height = image.height();
    b.bitsPerPixel = bitsPerPixel;
    b.stride = int(image.bytesPerLine());
    b.image = std::move(image);
    return b;
}

} // namespace

QtGdi::QtGdi() = default;
QtGdi::~QtGdi() = default;

Handle QtGdi::add(Object object) {
    size_t slot;
    if (!free_.empty()) {
        slot = free_.back();
        free_.pop_back();
        objects_[slot] = std::move(object);
    } else {
        slot = objects_.size();
        objects_.push_back(std::move(object));
    }
    return HandleBase + slot;
}

template <typename T>
T* QtGdi::get(Handle h) {
    if (h < HandleBase || h - HandleBase >= objects_.size())
        return nullptr;
    return std::get_if<T>(&objects_[h - HandleBase]);
}

void QtGdi::release(Handle h) {
    objects_[h - HandleBase] = std::monostate{};
    free_.push_back(h - HandleBase);
}

int QtGdi::liveObjects() const {
    return int(
        std::count_if(objects_.begin(), objects_.end(),
                      [](const Object& o) { return !std::holds_alternative<std::monostate>(o); }) +
        std::count_if(regions_.begin(), regions_.end(),
                      [](const PooledRegion& r) { return r.live; }));
}

HDC QtGdi::CreateCompatibleDC(HDC ref) {
    if (ref != 0 && !get<Dc>(ref))
        return 0;
    QImage mono(1, 1, QImage::Format_RGB32);
    mono.fill(Qt::black);
    const HBITMAP stock = add(imageBitmap(std::move(mono), 1));
    const HDC dc = add(Dc{stock, stock, false});
    get<Bitmap>(stock)->selectedIn = dc;
    return dc;
}

HBITMAP QtGdi::CreateDIBSection(HDC dc, const BITMAPINFOHEADER& header, std::uint32_t usage,
                                void** bits, Handle section, std::uint32_t offset) {
    if (bits)
        *bits = nullptr;
    if ((dc != 0 && !get<Dc>(dc)) || usage != DIB_RGB_COLORS || section != 0 || offset != 0 ||
        header.biSize != sizeof(BITMAPINFOHEADER) || header.biBitCount != 24 ||
        header.biCompression != BI_RGB || header.biPlanes != 1 || header.biWidth <= 0 ||
        header.biHeight <= 0)
        return 0; // top-down (negative height) buffers are refused: every reader maps rows
                  // bottom-up, and a negative Height() would defeat the byte view's bounds
    const std::int64_t stride = (std::int64_t(header.biWidth) * 3 + 3) & ~std::int64_t(3);
    const std::int64_t size = stride * header.biHeight;
    if (size > (std::int64_t(1) << 31))
        return 0;
    Bitmap b;
    b.width = header.biWidth;
    b.height = header.biHeight;
    b.bitsPerPixel = 24;
    b.stride = int(stride);
    b.dib.reset(new (std::nothrow) std::uint8_t[size_t(size)]());
    if (!b.dib)
        return 0;
    void* buffer = b.dib.get();
    const HBITMAP h = add(std::move(b));
    if (bits)
        *bits = buffer;
    return h;
}

HBITMAP QtGdi::CreateCompatibleBitmap(HDC dc, int width, int height) {
    if ((dc != 0 && !get<Dc>(dc)) || width <= 0 || height <= 0)
        return 0;
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return 0;
    image.fill(Qt::black);
    return add(imageBitmap(std::move(image), 32));
}

HGDIOBJ QtGdi::SelectObject(HDC dc, HGDIOBJ object) {
    Dc* d = get<Dc>(dc);
    Bitmap* b = get<Bitmap>(object);
    if (!d || d->screen || !b || (b->selectedIn != 0 && b->selectedIn != dc))
        return 0;
    const HBITMAP previous = d->selected;
    if (Bitmap* p = get<Bitmap>(previous))
        p->selectedIn = 0;
    d->selected = object;
    b->selectedIn = dc;
    return previous;
}

bool QtGdi::DeleteObject(HGDIOBJ object) {
    if (region(object)) {
        regions_[object - RegionBase].live = false;
        regionFree_.push_back(std::uint32_t(object - RegionBase));
        return true;
    }
    const Bitmap* b = get<Bitmap>(object);
    if (!b || b->selectedIn != 0)
        return false; // a bitmap still held by a context cannot go
    release(object);
    return true;
}

bool QtGdi::DeleteDC(HDC dc) {
    Dc* d = get<Dc>(dc);
    if (!d)
        return false;
    if (Bitmap* b = get<Bitmap>(d->selected))
        b->selectedIn = 0;
    if (get<Bitmap>(d->stock))
        release(d->stock);
    release(dc);
    return true;
}

bool QtGdi::BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy,
                   std::uint32_t rop) {
    QRgb probe;
    if (!rasterOp(rop, 0, 0, &probe))
        return false;
    Dc* dd = get<Dc>(dst);
    Dc* sd = get<Dc>(src);
    if (!dd || !sd || dd->screen || sd->screen)
        return false;
    Bitmap* db = get<Bitmap>(dd->selected);
    Bitmap* sb = get<Bitmap>(sd->selected);
    if (!db || !sb)
        return false;
    // Clip to the source, then to the destination, moving both origins alike.
    auto clipLow = [](int& a, int& b, int& len) {
        if (a < 0) {
            b -= a;
            len += a;
            a = 0;
        }
    };
    clipLow(sx, x, w);
    clipLow(sy, y, h);
    clipLow(x, sx, w);
    clipLow(y, sy, h);
    w = std::min({w, sb->width - sx, db->width - x});
    h = std::min({h, sb->height - sy, db->height - y});
    if (w <= 0 || h <= 0)
        return true;
    // Read the whole source first: source and destination may be one bitmap.
    std::vector<QRgb> pixels(size_t(w) * size_t(h));
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            pixels[size_t(j) * size_t(w) + size_t(i)] = readPixel(*sb, sx + i, sy + j);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            QRgb out;
            const QRgb s = pixels[size_t(j) * size_t(w) + size_t(i)];
            const QRgb d = rop == SRCCOPY ? 0 : readPixel(*db, x + i, y + j);
            rasterOp(rop, s, d, &out);
            writePixel(*db, x + i, y + j, out);
        }
    return true;
}

int QtGdi::GetObjectA(HGDIOBJ object, int size, void* record) {
    const Bitmap* b = get<Bitmap>(object);
    if (!b || !record || size <= 0)
        return 0;
    BITMAP bm;
    bm.bmWidth = b->width;
    bm.bmHeight = b->height;
    bm.bmWidthBytes = b->dib ? b->stride : ((b->width * b->bitsPerPixel + 15) / 16) * 2;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = std::uint16_t(b->bitsPerPixel);
    bm.bmBits = b->dib.get();
    const int n = std::min(size, int(sizeof bm));
    std::memcpy(record, &bm, size_t(n));
    return n;
}

HWND QtGdi::GetDesktopWindow() {
    return DesktopWindow;
}

HDC QtGdi::GetDC(HWND window) {
    if (window != DesktopWindow && window != 0)
        return 0;
    return add(Dc{0, 0, true});
}

int QtGdi::ReleaseDC(HWND, HDC dc) {
    Dc* d = get<Dc>(dc);
    if (!d || !d->screen)
        return 0;
    release(dc);
    return 1;
}

HRGN QtGdi::CreateRectRgn(int left, int top, int right, int bottom) {
    const std::uint32_t i = takeRegionSlot();
    regions_[i].region.setRect({std::min(left, right), std::min(top, bottom), std::max(left, right),
                                std::max(top, bottom)});
    regions_[i].live = true;
    return RegionBase + i;
}

bool QtGdi::CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
    if (mode == RGN_XOR && source2 == destination && source1 != destination) [[likely]] {
        // The shape builder's call, thousands of times: one rectangle in.
        XorRegion* d = region(destination);
        const XorRegion* a = region(source1);
        if (!d || !a) [[unlikely]]
            return false;
        d->xorRegion(*a);
        return true;
    }
    return combineAny(destination, source1, source2, mode);
}

bool QtGdi::combineAny(HRGN destination, HRGN source1, HRGN source2, int mode) {
    XorRegion* d = region(destination);
    XorRegion* a = region(source1);
    XorRegion* b = mode == RGN_COPY ? a : source2 == destination ? d : region(source2);
    if (!d || !a || !b)
        return false;
    if (mode == RGN_XOR) {
        if (d == b) {
            d->xorRegion(*a);
        } else if (d == a) {
            d->xorRegion(*b);
        } else {
            XorRegion result = *a;
            result.xorRegion(*b);
            *d = std::move(result);
        }
        return true;
    }
    const QRegion qa = a->toQRegion(), qb = b->toQRegion();
    switch (mode) {
    case RGN_AND:
        d->assign(qa.intersected(qb));
        return true;
    case RGN_OR:
        d->assign(qa.united(qb));
        return true;
    case RGN_DIFF:
        d->assign(qa.subtracted(qb));
        return true;
    case RGN_COPY:
        d->assign(qa);
        return true;
    default:
        return false;
    }
}

int QtGdi::SetWindowRgn(HWND window, HRGN rgn, bool redraw) {
    if (!qGuiApp)
        return 0;
    const XorRegion* r = rgn ? region(rgn) : nullptr;
    if (rgn && !r)
        return 0;
    QWindow* w = windowFor(window);
    if (!w)
        return 0;
    QRegion mask; // no region: no shape, the whole window shows
    if (r)
        // Qt reads an empty mask as "no mask"; an empty region shows nothing,
        // so the window gets one pixel just outside itself.
        mask = r->isEmpty() ? QRegion(-1, -1, 1, 1) : r->toQRegion();
    w->setMask(mask);
    if (redraw)
        w->requestUpdate();
    return 1;
}

HBITMAP QtGdi::CreateBitmap(int width, int height, std::uint32_t planes, std::uint32_t bitCount,
                            const void* bits) {
    if (width <= 0 || height <= 0 || planes != 1 || bitCount != 32 || !bits)
        return 0;
    // Our own copy: the caller's pixels may go once this returns.
    const QImage view(static_cast<const uchar*>(bits), width, height, width * 4,
                      QImage::Format_RGB32);
    return add(imageBitmap(view.copy(), 32));
}

QRegion QtGdi::RegionPixels(HRGN rgn) const {
    const XorRegion* r = region(rgn);
    return r ? r->toQRegion() : QRegion();
}

namespace {

QtGdi::MessageBoxPresenter& presenter() {
    static QtGdi::MessageBoxPresenter instance;
    return instance;
}

} // namespace

// Qt's clipboard needs no opening; the flag keeps the one-caller-at-a-time
// rule so that callers behave as they would on a real system clipboard.
bool QtGdi::OpenClipboard(HWND) {
    if (!qGuiApp || clipboardOpen_)
        return false;
    clipboardOpen_ = true;
    return true;
}

bool QtGdi::EmptyClipboard() {
    if (!clipboardOpen_)
        return false;
    QGuiApplication::clipboard()->clear();
    return true;
}

Handle QtGdi::SetClipboardData(std::uint32_t format, Handle data) {
    const Bitmap* b = get<Bitmap>(data);
    if (!clipboardOpen_ || format != CF_BITMAP || !b || b->selectedIn != 0)
        return 0;
    QImage image(b->width, b->height, QImage::Format_RGB32);
    if (image.isNull())
        return 0;
    for (int y = 0; y < b->height; ++y)
        for (int x = 0; x < b->width; ++x)
            image.setPixel(x, y, 0xFF000000u | readPixel(*b, x, y));
    QGuiApplication::clipboard()->setImage(image);
    release(data); // the clipboard keeps its own copy of the pixels
    return data;
}

bool QtGdi::CloseClipboard() {
    const bool wasOpen = clipboardOpen_;
    clipboardOpen_ = false;
    return wasOpen;
}

int QtGdi::MessageBoxA(HWND, const char* text, const char* caption, std::uint32_t) {
    if (presenter())
        return presenter()(QString::fromUtf8(text), QString::fromUtf8(caption));
    qWarning("%s: %s", caption, text);
    return IDOK;
}

void QtGdi::setMessageBoxPresenter(MessageBoxPresenter p) {
    presenter() = std::move(p);
}

} // namespace gdi::qt

namespace gdi {

Gdi& platform() {
    static qt::QtGdi instance;
    return instance;
}

} // namespace gdi

// Region data.
namespace gdi::qt {
namespace {

// The union of rectangles in any order, merged pairwise like a merge sort so
// that each merge joins regions of similar size; false once a merged part
// passes MaxRegionRects or the work MaxUnionWork.
bool unionOf(const std::vector<RegionRect>& rects, std::vector<RegionRect>& out) {
    struct Part {
        QRegion region;
        int level;
    };
    std::vector<Part> stack;
    std::size_t work = 0;
    auto mergeTop = [&] {
        Part b = std::move(stack.back());
        stack.pop_back();
        Part& a = stack.back();
        a.region = a.region.united(b.region);
        a.level = std::max(a.level, b.level) + 1;
        work += std::size_t(a.region.rectCount());
        return work <= MaxUnionWork && std::size_t(a.region.rectCount()) <= MaxRegionRects;
    };
    for (const RegionRect& r : rects) {
        stack.push_back(
            {QRegion(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1))), 0});
        while (stack.size() >= 2 && stack[stack.size() - 2].level == stack.back().level)
            if (!mergeTop())
                return false;
    }
    while (stack.size() >= 2)
        if (!mergeTop())
            return false;
    out.clear();
    if (!stack.empty())
        for (const QRect& r : stack.front().region)
            out.push_back({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    return true;
}

} // namespace

HRGN QtGdi::adoptRegion(XorRegion&& r) {
    const std::uint32_t i = takeRegionSlot();
    regions_[i].region = std::move(r);
    regions_[i].live = true;
    return RegionBase + i;
}

std::uint32_t QtGdi::GetRegionData(HRGN rgn, std::uint32_t size, void* buffer) {
    const XorRegion* r = region(rgn);
    if (!r)
        return 0;
    const std::vector<RegionRect>& rects = r->rects(); // disjoint, sorted by top then left
    const std::uint32_t needed = regionDataSize(rects.size());
    if (!buffer || needed == 0)
        return needed;
    if (size < needed)
        return 0;
    writeRegionData(rects, static_cast<std::uint8_t*>(buffer));
    return needed;
}

HRGN QtGdi::ExtCreateRegion(const void* xform, std::uint32_t size, const void* data) {
    if (xform || !data)
        return 0;
    std::vector<RegionRect> rects;
    if (!readRegionData({static_cast<const std::uint8_t*>(data), size}, rects))
        return 0;
    std::vector<RegionRect> banded;
    if (isBanded(rects) || sortIntoBands(rects))
        banded = std::move(rects);
    else if (!unionOf(rects, banded))
        return 0;
    XorRegion r;
    r.setBanded(std::move(banded));
    return adoptRegion(std::move(r));
}

} // namespace gdi::qt
