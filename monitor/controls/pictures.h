// The pictures a window definition names, each decoded once: the skin is the
// form's face, its picture control's picture and the source of the window's shape.
#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace monitor {

class Pictures {
public:
    // A null image for a picture that cannot be read.
    QImage image(const QString& path);
    QPixmap pixmap(const QString& path);

private:
    QHash<QString, QImage> images_;
    QHash<QString, QPixmap> pixmaps_;
};

} // namespace monitor
