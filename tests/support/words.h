// Test data written out as little-endian 32-bit words, as region data and
// other file formats lay their fields.
#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <initializer_list>

namespace testing_support {

inline QByteArray words32(std::initializer_list<std::int64_t> words) {
    QByteArray out;
    for (std::int64_t w : words) {
        char b[4];
        qToLittleEndian<quint32>(quint32(w), b);
        out.append(b, 4);
    }
    return out;
}

} // namespace testing_support
