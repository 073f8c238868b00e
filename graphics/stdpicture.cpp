#include "graphics/stdpicture.h"

#include "graphics/picturefile.h"
#include "runtime/runtimeerror.h"

#include <QImage>

namespace vell {

namespace {

gdi::HBITMAP bitmapOf(const QImage& image, gdi::Gdi& gdi) {
    if (image.isNull())
        return 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32); // rows of 4 * width bytes
    return gdi.CreateBitmap(rgb.width(), rgb.height(), 1, 32, rgb.constBits());
}

} // namespace

StdPicture::StdPicture(const QImage& image, gdi::Gdi& gdi)
    : gdi_(&gdi), handle_(bitmapOf(image, gdi)), width_(image.width()), height_(image.height()) {}

QImage readImage(const QString& path) {
    try {
        return loadPicture(path);
    } catch (const RuntimeError&) {
        return {};
    }
}

StdPicture::~StdPicture() {
    if (handle_)
        gdi_->DeleteObject(handle_);
}

StdPicture::StdPicture(StdPicture&& other) noexcept
    : gdi_(other.gdi_), handle_(other.handle_), width_(other.width_), height_(other.height_) {
    other.handle_ = 0;
}

} // namespace vell
