// Little-endian fields of the file formats the programs read and write (BMP,
// ICO, region data, PE), byte by byte so that neither alignment nor the
// machine's own order matters.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace vell::le {

template <std::integral T>
T get(const void* at) {
    const auto* p = static_cast<const std::uint8_t*>(at);
    std::make_unsigned_t<T> v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v = std::make_unsigned_t<T>(v | std::make_unsigned_t<T>(p[i]) << (8 * i));
    return T(v);
}

template <std::integral T>
void put(void* at, T value) {
    auto* p = static_cast<std::uint8_t*>(at);
    const auto v = std::make_unsigned_t<T>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

inline std::uint16_t get16(const void* at) {
    return get<std::uint16_t>(at);
}

inline std::uint32_t get32(const void* at) {
    return get<std::uint32_t>(at);
}

// Three bytes, as a 24-bit pixel holds blue, green and red.
inline std::uint32_t get24(const void* at) {
    const auto* p = static_cast<const std::uint8_t*>(at);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
}

// The field at offset, or 0 when it does not lie wholly inside data.
template <std::integral T>
T getAt(std::span<const std::uint8_t> data, std::int64_t offset) {
    if (offset < 0 || data.size() < sizeof(T) || std::uint64_t(offset) > data.size() - sizeof(T))
        return 0;
    return get<T>(data.data() + offset);
}

} // namespace vell::le
