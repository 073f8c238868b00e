// Whether the region maker takes a file's region data, and if not, why: one
// verdict for info and render, in words that name the limit passed.
#pragma once

#include <QByteArray>
#include <QString>

namespace vellskin {

// Empty when the region maker makes a region of bytes (the data of path);
// else a sentence saying what is wrong, starting with path.
QString regionRefusal(const QString& path, const QByteArray& bytes);

} // namespace vellskin
