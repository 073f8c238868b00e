#include "graphics/picturefile.h"

#include "graphics/formats/picturebytes.h"
#include "graphics/platform/posix/fileerrors.h"
#include "graphics/platform/posix/files.h"

#include <QFile>

#include <cerrno>

namespace vell {
namespace {

using posix::raiseFileError;

[[noreturn]] void invalidPicture(const QString& path, const QString& why) {
    throw RuntimeError(InvalidPicture, RuntimeError::programName(),
                       "Invalid picture: " + path + why);
}

// Resources are built into the program: nothing there can block.
QByteArray readResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        raiseFileError(FileNotFound);
    return file.readAll();
}

QByteArray readPlainFile(const QString& path) {
    const auto native = posix::nativePath(path);
    if (!native)
        raiseFileError(BadFileNameOrNumber);
    const posix::FileDescriptor file = posix::openForReading(*native);
    if (!file.valid())
        posix::raiseOpenError(errno, path);
    const auto status = posix::status(file);
    if (!status)
        raiseFileError(DeviceIOError);
    if (!status->regular)
        raiseFileError(PathFileAccessError);
    if (status->size > MaxPictureFileSize)
        invalidPicture(path, QString(" is %1 bytes, more than the largest picture read (%2)")
                                 .arg(status->size)
                                 .arg(MaxPictureFileSize));
    return posix::readWhole(file, status->size);
}

} // namespace

QImage loadPicture(const QString& path) {
    const QByteArray bytes = path.startsWith(':') ? readResource(path) : readPlainFile(path);
    if (bytes.isEmpty())
        invalidPicture(path, " is empty (0 bytes)");
    QImage image = decodePicture(bytes);
    if (image.isNull())
        invalidPicture(path, " is not a whole BMP, ICO or other picture file the readers take");
    return image;
}

} // namespace vell
