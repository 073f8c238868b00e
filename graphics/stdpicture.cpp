#include "stdpicture.h"

#include <QImage>

namespace vell {

StdPicture::StdPicture(const QImage& image, gdi::Gdi& gdi)
    : gdi_(&gdi), handle_(gdi.BitmapFromImage(image)), width_(image.width()),
      height_(image.height()) {}

StdPicture StdPicture::load(const QString& path, gdi::Gdi& gdi) { return {QImage(path), gdi}; }

StdPicture::~StdPicture() {
    if (handle_)
        gdi_->DeleteObject(handle_);
}

StdPicture::StdPicture(StdPicture&& other) noexcept
    : gdi_(other.gdi_), handle_(other.handle_), width_(other.width_), height_(other.height_) {
    other.handle_ = 0;
}

} // namespace vell
