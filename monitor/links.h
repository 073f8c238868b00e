// The link buttons' targets and the site-restricted search, built from the
// program's build-time site hosts.
#pragma once

#include "forms/shared/formdefinition.h"

#include <QString>

#include <vector>

namespace monitor {

// A link button and the page it opens (its caption is the button's own).
struct LinkTarget {
    QString control; // Command3 ... Command7
    QString url;
};

std::vector<LinkTarget> linkTable(const forms::Sites& sites);

// The prompt the search box shows until the user clicks into it.
inline constexpr auto SearchPrompt = "Forum Search";

// prefix + the text as a query value + "+site%3A" + the official site. The
// text is percent-encoded as UTF-8, so "&", "#" or "+" stay part of the query
// instead of cutting it or adding parameters.
QString searchUrl(const forms::Sites& sites, const QString& text);

} // namespace monitor
