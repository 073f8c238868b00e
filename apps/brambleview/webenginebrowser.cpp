#include "webenginebrowser.h"

#include <QEvent>
#include <QOpenGLWidget>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QWindow>

#include <cmath>

namespace brambleview {

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

} // namespace

// Puts the view into the panel's window once that exists: the panel is made
// native when it is first shown, after the browser.
class WebEngineBrowser::Embedder final : public QObject {
public:
    Embedder(WebEngineBrowser& browser, QWidget* panel) : browser_(browser), panel_(panel) {
        panel_->installEventFilter(this);
        if (panel_->windowHandle())
            browser_.embedIn(panel_->windowHandle());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == panel_ && event->type() == QEvent::WinIdChange && panel_->windowHandle())
            browser_.embedIn(panel_->windowHandle());
        return false;
    }

private:
    WebEngineBrowser& browser_;
    QWidget* panel_;
};

WebEngineBrowser::WebEngineBrowser(QWidget* parent, const QRect& geometry)
    : profile_(new QWebEngineProfile), view_(new QWebEngineView), geometry_(geometry),
      left_(geometry.left()) {
    view_->setObjectName("WebBrowser1");
    view_->setWindowFlags(Qt::FramelessWindowHint);
    view_->setPage(new QWebEnginePage(profile_, view_));
    primeForTextureChildren(view_);
    embedder_ = std::make_unique<Embedder>(*this, parent->window());
}

WebEngineBrowser::~WebEngineBrowser() {
    embedder_.reset();
    delete view_; // the page first, then the profile it was made on
    delete profile_;
}

void WebEngineBrowser::embedIn(QWindow* panel) {
    if (!view_ || embeddedIn_ == panel)
        return;
    embeddedIn_ = panel;
    view_->winId();
    view_->windowHandle()->setParent(panel);
    view_->setGeometry(geometry_);
    view_->show();
}

void WebEngineBrowser::setLeft(double pixels) {
    left_ = pixels; // kept as given: a position other than exactly 165 reads back as it was set
    geometry_.moveLeft(int(std::lround(pixels)));
    if (view_)
        view_->move(geometry_.topLeft());
}

void WebEngineBrowser::Navigate(const QString& url) {
    if (view_)
        view_->load(QUrl(url)); // returns at once; the outcome is the page's own business
}

monitor::BrowserFactory webEngineBrowsers() {
    return [](QWidget* parent, const QRect& geometry) -> std::unique_ptr<monitor::WebBrowser> {
        return std::make_unique<WebEngineBrowser>(parent, geometry);
    };
}

} // namespace brambleview
