#include "monitor/platform/webengine/webenginebrowser.h"

#include "monitor/platform/webengine/pagehost.h"
#include "monitor/platform/webengine/sitepage.h"

#include <QByteArray>
#include <QEvent>
#include <QGuiApplication>
#include <QOpenGLWidget>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWindow>

#include <cmath>
#include <cstdio>

namespace monitor::webengine {

namespace {

// The web view draws into a texture, and Qt composes every frame of a window
// with such a child through OpenGL: on a software renderer a one-label repaint
// of the panel (the countdown, once a minute) then wakes a dozen threads. So
// the view gets a native window of its own, placed inside the panel's as an
// X child window: the panel keeps its plain surface, the view composes only
// when the page changes, the panel's shape still clips it, and clicks over it
// go to it.
//
// A window that gets its first texture child late (the view makes it once a
// page starts loading) is destroyed and made anew with another kind of
// surface, and would come back as a top-level window. A hidden texture child
// made now has the view's window made with the right surface from the start.
void primeForTextureChildren(QWidget* window) {
    auto* primer = new QOpenGLWidget(window);
    primer->setObjectName("textureSurfacePrimer");
    primer->setFixedSize(0, 0);
    primer->hide();
}

// The view's window hangs inside the panel's, which needs a platform that
// parents windows: X11 and Wayland do; the offscreen and other single-window
// platforms cannot, and Qt falls over there. Says so once.
bool platformParentsWindows() {
    const QString platform = QGuiApplication::platformName();
    if (platform == "xcb" || platform.startsWith("wayland"))
        return true;
    static bool said = false;
    if (!said)
        std::fprintf(
            stderr, "%s: the %s platform cannot hold the embedded page: shown without it\n",
            qPrintable(QCoreApplication::applicationName().toLower()), qPrintable(platform));
    said = true;
    return false;
}

} // namespace

// Puts the view into the panel's window once that exists: the panel is made
// native when it is first shown, after the browser. The page takes the mouse
// (clicks, the wheel, its scroll bar) in its window; Qt keeps the keyboard
// with the panel's window, so the page's host there passes the keys on.
class WebEngineBrowser::Embedder final : public QObject {
public:
    Embedder(PageView& view, QWidget& panel, QRect geometry)
        : view_(view), panel_(panel), host_(new PageHost(panel, view)), geometry_(geometry) {
        panel_.installEventFilter(this);
        embed();
    }
    ~Embedder() override { delete host_; }

    // By the client area: a window's move() places its frame, and Qt takes
    // the panel for the view's frame, so it would land the view's own offset
    // in the panel further on.
    void moveLeft(int left) {
        geometry_.moveLeft(left);
        view_.setGeometry(geometry_);
        if (host_)
            host_->follow(geometry_);
    }

    PageHost* host() const { return host_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &panel_ && event->type() == QEvent::WinIdChange)
            embed();
        return false;
    }

private:
    void embed() {
        QWindow* panel = panel_.windowHandle();
        if (!panel || panel == panelWindow_)
            return;
        if (viewWindow_) {
            view_.hide();
            detach();
        }
        view_.winId();
        QWindow* view = view_.windowHandle();
        if (!view)
            return;
        panelWindow_ = panel;
        viewWindow_ = view;
        view->setParent(panel);
        if (host_)
            host_->watch(view);
        // A window deletes its child windows: the view's is taken back first.
        connect(panel, &QObject::destroyed, this, [this] {
            view_.hide();
            detach();
        });
        view_.setGeometry(geometry_);
        view_.show();
        if (host_)
            host_->follow(geometry_);
    }

    void detach() {
        if (viewWindow_)
            viewWindow_->setParent(nullptr);
        panelWindow_ = nullptr;
        viewWindow_ = nullptr;
    }

    PageView& view_;
    QWidget& panel_;
    QPointer<PageHost> host_; // the panel's child
    QRect geometry_;          // in the panel's pixels
    QPointer<QWindow> panelWindow_;
    QPointer<QWindow> viewWindow_;
};

WebEngineBrowser::WebEngineBrowser(QWidget* parent, const QRect& geometry, UrlShell& urls)
    : left_(geometry.left()) {
    if (!platformParentsWindows())
        return; // no page: the browser keeps its position and loads nothing
    profile_ = new QWebEngineProfile;
    auto* view = new PageView;
    view_ = view;
    view_->setObjectName("WebBrowser1");
    view_->setWindowFlags(Qt::FramelessWindowHint);
    page_ = new SitePage(profile_, urls, view_);
    view_->setPage(page_);
    primeForTextureChildren(view_);
    embedder_ = std::make_unique<Embedder>(*view, *parent->window(), geometry);
}

WebEngineBrowser::~WebEngineBrowser() {
    embedder_.reset();
    delete view_; // the page first, then the profile it was made on
    delete profile_;
}

void WebEngineBrowser::setLeft(double pixels) {
    left_ = pixels; // kept as given, unrounded: only the exact shown position reads as shown
    if (view_)
        embedder_->moveLeft(int(std::lround(pixels)));
}

void WebEngineBrowser::setToggle(QWidget* toggle) {
    if (embedder_ && embedder_->host())
        embedder_->host()->followInTabOrder(toggle);
}

void WebEngineBrowser::Navigate(const QString& url) {
    if (page_)
        page_->open(QUrl(url)); // returns at once; the outcome is the page's own business
}

BrowserFactory webEngineBrowsers() {
    // The web engine keeps its pages out of the accessible tree on Linux
    // unless asked, so a screen reader would find the update log empty. Asked
    // here, before the engine starts, unless the user says otherwise.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", QByteArray("1"));
    return [](QWidget* parent, const QRect& geometry,
              UrlShell& urls) -> std::unique_ptr<monitor::WebBrowser> {
        return std::make_unique<WebEngineBrowser>(parent, geometry, urls);
    };
}

} // namespace monitor::webengine
