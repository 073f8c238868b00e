#include "monitor/trayicondata.h"

#include "graphics/formats/littleendian.h"

#include <algorithm>

namespace monitor {

void TrayIconData::setTip(const QString& text) {
    szTip.fill(u' ');
    const int n = std::min<int>(int(text.size()), TipLength);
    for (int i = 0; i < n; ++i)
        szTip[size_t(i)] = text[i].unicode();
    if (n < TipLength)
        szTip[size_t(n)] = u'\0';
}

QString TrayIconData::tip() const {
    const auto end = std::find(szTip.begin(), szTip.end(), u'\0');
    return QString::fromUtf16(szTip.data(), end - szTip.begin());
}

QString TrayIconData::ansiTip() const {
    QString out = tip();
    for (QChar& c : out)
        if (c.unicode() >= 0x100)
            c = u'?';
    return out;
}

QByteArray TrayIconData::toAnsi() const {
    QByteArray out(AnsiSize, '\0');
    char* p = out.data();
    for (std::uint32_t v : {cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon}) {
        vell::le::put(p, v);
        p += 4;
    }
    for (char16_t c : szTip)
        *p++ = c < 0x100 ? char(c) : '?';
    return out;
}

} // namespace monitor
