#include "monitor/links.h"

#include <QUrl>

namespace monitor {

std::vector<LinkTarget> linkTable(const forms::Sites& s) {
    return {
        {"Command3", "VellFans", "fan site's server-status page",
         "http://" + s.fanSiteHost + "/site/vellmoor/brambleview.php"},
        {"Command4", "VellNA Wiki", "community wiki", "http://" + s.wikiHost + "/"},
        {"Command5", "Marrowdell", "clan site", "http://" + s.clanHost + "/"},
        {"Command6", "VellNA Official Site", "official site", "http://" + s.officialSite},
        {"Command7", "VellBook", "community site", "http://" + s.communityHost + "/"},
    };
}

QString searchUrl(const forms::Sites& s, const QString& text) {
    return "http://" + s.searchHost +
           "/search?hl=en&q=" + QString::fromLatin1(QUrl::toPercentEncoding(text)) + "+site%3A" +
           s.officialSite;
}

} // namespace monitor
