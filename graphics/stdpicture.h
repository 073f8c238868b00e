// A picture: a bitmap made from an image asset, freed when the picture goes.
#pragma once

#include "graphics/platform/gdi.h"

#include <QString>

class QImage;

namespace vell {

// Reads an image file or resource (graphics/picturefile.h); a null image
// when it cannot be read.
QImage readImage(const QString& path);

class StdPicture {
public:
    StdPicture(const QImage& image, gdi::Gdi& gdi = gdi::platform());
    ~StdPicture();
    StdPicture(StdPicture&& other) noexcept;
    StdPicture& operator=(StdPicture&&) = delete;
    StdPicture(const StdPicture&) = delete;
    StdPicture& operator=(const StdPicture&) = delete;

    gdi::HBITMAP Handle() const { return handle_; }
    int widthPixels() const { return width_; }
    int heightPixels() const { return height_; }

private:
    gdi::Gdi* gdi_;
    gdi::HBITMAP handle_ = 0;
    int width_ = 0;
    int height_ = 0;
};

} // namespace vell
