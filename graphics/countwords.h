// Counts and sizes as error descriptions write them: 8,388,608.
#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>

namespace vell {

inline QString grouped(std::int64_t n) {
    return QLocale(QLocale::English).toString(qlonglong(n));
}

} // namespace vell
