#include "monitor/controls/pictures.h"

#include "graphics/stdpicture.h"

namespace monitor {

QImage Pictures::image(const QString& path) {
    auto it = images_.find(path);
    if (it == images_.end())
        it = images_.insert(path, vell::readImage(path));
    return *it;
}

QPixmap Pictures::pixmap(const QString& path) {
    auto it = pixmaps_.find(path);
    if (it == pixmaps_.end())
        it = pixmaps_.insert(path, QPixmap::fromImage(image(path)));
    return *it;
}

} // namespace monitor
