#include "monitor/platform/qt/qturlshell.h"

#include <QDesktopServices>
#include <QUrl>

namespace monitor::qt {

void QtUrlShell::ShellExecuteA(const QString& url) {
    // The URL is already percent-encoded: take it byte for byte.
    QDesktopServices::openUrl(QUrl::fromEncoded(url.toLatin1(), QUrl::TolerantMode));
}

} // namespace monitor::qt
