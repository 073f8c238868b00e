// The embedded view's page: it shows one site, the one of the page it was
// told to open (same scheme, host and port), and nothing else. A link the
// user clicks to another site opens in the desktop's browser; any other way
// off the site (a redirect, a script, a frame, a picture) is refused before a
// byte goes out. No pop-ups, downloads or permissions. When its render
// process ends, the next open loads the page again in a new one.
#pragma once

#include <QElapsedTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <memory>

class QWebEngineProfile;

namespace monitor {
class UrlShell;
}

namespace monitor::webengine {

// Same scheme, host and port (the scheme's own when none is given).
bool sameSite(const QUrl& a, const QUrl& b);

class SitePage final : public QWebEnginePage {
public:
    SitePage(QWebEngineProfile* profile, UrlShell& urls, QObject* parent);
    ~SitePage() override;

    // Loads url and keeps the view on its site from now on.
    void open(const QUrl& url);
    const QUrl& home() const { return home_; }

    // How long after a click or a key on the view a followed link counts as the user's.
    static constexpr int UserActionMs = 2000;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class SiteFilter;

    UrlShell& urls_;
    QUrl home_;
    bool renderProcessGone_ = false; // until the next page has loaded
    QElapsedTimer userActed_;        // since the last click or key on the view
    std::unique_ptr<SiteFilter> filter_;
};

} // namespace monitor::webengine
