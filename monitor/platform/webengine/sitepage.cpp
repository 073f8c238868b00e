#include "monitor/platform/webengine/sitepage.h"

#include "monitor/platform/desktop.h"

#include <QApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

namespace monitor::webengine {

namespace {

int portOf(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.port(scheme == "https" || scheme == "wss" ? 443 : scheme == "ftp" ? 21 : 80);
}

// Only these go to the desktop's browser: a page's link to another scheme
// would have the desktop run whatever handler it keeps for it.
bool webAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == "http" || scheme == "https");
}

} // namespace

bool sameSite(const QUrl& a, const QUrl& b) {
    return a.isValid() && b.isValid() && !a.host().isEmpty() &&
           a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && portOf(a) == portOf(b);
}

// Every request the page makes passes here before it leaves: a redirect's
// new address too, and what a page pulls in (pictures, frames, scripts).
class SitePage::SiteFilter final : public QWebEngineUrlRequestInterceptor {
public:
    explicit SiteFilter(const SitePage& page) : page_(page) {}
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!sameSite(info.requestUrl(), page_.home()))
            info.block(true);
    }

private:
    const SitePage& page_;
};

SitePage::SitePage(QWebEngineProfile* profile, UrlShell& urls, QObject* parent)
    : QWebEnginePage(profile, parent), urls_(urls), filter_(std::make_unique<SiteFilter>(*this)) {
    setUrlRequestInterceptor(filter_.get());
    // Asked for a camera, a location, notifications...: no, without asking the user.
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    // The profile is this page's alone (see WebEngineBrowser).
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    // After the render process ended, the next load starts a new one, but
    // the view could stay blank over the loaded page (about one time in
    // three): once that page has loaded, the view is shown anew.
    connect(this, &QWebEnginePage::renderProcessTerminated, this,
            [this] { renderProcessGone_ = true; });
    connect(this, &QWebEnginePage::loadFinished, this, [this] {
        if (!renderProcessGone_)
            return;
        renderProcessGone_ = false;
        QWebEngineView* view = QWebEngineView::forPage(this);
        if (view && view->isVisible()) {
            view->hide();
            view->show();
        }
    });
    qApp->installEventFilter(this);
}

SitePage::~SitePage() {
    setUrlRequestInterceptor(nullptr);
}

void SitePage::open(const QUrl& url) {
    home_ = url;
    load(url);
}

bool SitePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool) {
    if (sameSite(url, home_))
        return true;
    // A link the user followed elsewhere opens in the desktop's browser, as
    // the link buttons do; once per click or key. The engine reports a
    // script's navigation as a followed link too, so without the user's hand
    // on the view just now it goes nowhere, as a redirect does.
    if (type == NavigationTypeLinkClicked && webAddress(url) && userActed_.isValid() &&
        !userActed_.hasExpired(UserActionMs)) {
        userActed_.invalidate();
        urls_.ShellExecuteA(QString::fromLatin1(url.toEncoded()));
    }
    return false;
}

bool SitePage::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::MouseButtonRelease || type == QEvent::KeyPress) {
        // Compared by address only: every object of the application passes
        // here, some of them half made or half gone.
        QWebEngineView* view = QWebEngineView::forPage(this);
        if (view && (watched == view || view->findChildren<QObject*>().contains(watched)))
            userActed_.start();
    }
    return false;
}

QWebEnginePage* SitePage::createWindow(WebWindowType) {
    return nullptr; // no pop-ups, no new windows
}

} // namespace monitor::webengine
