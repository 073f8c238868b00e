// vellskin resample IN.bmp HEIGHT WIDTH OUT.bmp: the picture at a new size,
// height first as Resample takes it.
#include "commands.h"
#include "picturesize.h"

#include "graphics/dibsection.h"
#include "graphics/stdpicture.h"

#include <QImage>

namespace vellskin {

int runResample(const QStringList& args) {
    const std::int32_t height = pictureSide(args[1], "HEIGHT");
    const std::int32_t width = pictureSide(args[2], "WIDTH");
    checkPictureSize(width, height, "the resampled picture");
    const QImage image = picture(args[0]);
    // Each new pixel blends a source pixel with its right and lower
    // neighbours; Resample raises "Subscript out of range" where there are none.
    const bool sameSize = width == image.width() && height == image.height();
    if (!sameSize && (image.width() < 2 || image.height() < 2))
        fail(InvalidArgument, QString("%1 is %2 x %3 pixels: resampling blends neighbouring "
                                      "pixels, so it needs a picture at least 2 x 2")
                                  .arg(args[0])
                                  .arg(image.width())
                                  .arg(image.height()));
    const vell::StdPicture picture(image);
    vell::cDIBSection source;
    source.CreateFromPicture(picture);
    if (!source.hdc())
        fail(OutOfMemory, "cannot make a surface for the picture");
    const auto resampled = source.Resample(height, width);
    if (!resampled)
        fail(OutOfMemory, QString("cannot make a %1 x %2 surface").arg(width).arg(height));
    writeBitmap(*resampled, args[3]);
    return 0;
}

} // namespace vellskin
