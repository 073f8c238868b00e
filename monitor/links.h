// The site-restricted search, built from the program's build-time site hosts
// (the link buttons' pages are the definition's: forms::Program::links).
#pragma once

#include "forms/shared/formdefinition.h"

#include <QString>

namespace monitor {

// prefix + the text as a query value + "+site%3A" + the official site. The
// text is percent-encoded as UTF-8, so "&", "#" or "+" stay part of the query
// instead of cutting it or adding parameters.
QString searchUrl(const forms::Sites& sites, const QString& text);

} // namespace monitor
