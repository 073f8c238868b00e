// The notification-icon record a main window hands to the tray (each window
// holds its own): the shell's first, 88-byte ANSI layout. The tip is held as 64 wide characters
// and converted to the ANSI code page for every shell call.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace monitor {

inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;
inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x201;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x204;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x207;

struct TrayIconData {
    static constexpr int TipLength = 64;
    static constexpr int AnsiSize = 88;

    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    std::array<char16_t, TipLength> szTip{};

    // The record carries a window handle in 32 bits; whoever looks a window
    // up by its record uses this same value. X11 window ids fit in 29 bits.
    static constexpr std::uint32_t handleOf(std::uintptr_t hWnd) { return std::uint32_t(hWnd); }

    // The text followed by one NUL, then blanks to 64 characters; a text of
    // 64 characters or more is cut to 64 and so carries no NUL.
    void setTip(const QString& text);
    // The tip up to its NUL, never past the field's 64 characters.
    QString tip() const;
    // The tip as the shell reads it from the ANSI record: characters Latin-1
    // lacks become '?'.
    QString ansiTip() const;
    // The record as the shell receives it: 88 bytes, little-endian, the tip in
    // the ANSI code page (Latin-1 here; characters it lacks become '?').
    QByteArray toAnsi() const;
};

} // namespace monitor
