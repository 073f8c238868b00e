#pragma once

#include <QString>
#include <QStringList>

namespace monitor::qt {

// The display the windows go to, named as its users share it: on X11 the
// -display argument or else DISPLAY, on Wayland its socket. Empty on a
// platform that no user sees (offscreen, minimal...), where copies of a
// program never meet. arguments: the command line as started.
QString sharedDisplay(const QString& platform, const QStringList& arguments);

} // namespace monitor::qt
