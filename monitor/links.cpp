#include "monitor/links.h"

#include <QUrl>

namespace monitor {

QString searchUrl(const forms::Sites& s, const QString& text) {
    return "http://" + s.searchHost +
           "/search?hl=en&q=" + QString::fromLatin1(QUrl::toPercentEncoding(text)) + "+site%3A" +
           s.officialSite;
}

} // namespace monitor
