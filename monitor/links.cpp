#include "monitor/links.h"

#include <QUrl>

namespace monitor {

std::vector<LinkTarget> linkTable(const forms::Sites& s) {
    return {
        {"Command3", "http://" + s.fanSiteHost + "/site/vellmoor/brambleview.php"}, // server status
        {"Command4", "http://" + s.wikiHost + "/"},
        {"Command5", "http://" + s.clanHost + "/"},
        {"Command6", "http://" + s.officialSite},
        {"Command7", "http://" + s.communityHost + "/"},
    };
}

QString searchUrl(const forms::Sites& s, const QString& text) {
    return "http://" + s.searchHost +
           "/search?hl=en&q=" + QString::fromLatin1(QUrl::toPercentEncoding(text)) + "+site%3A" +
           s.officialSite;
}

} // namespace monitor
