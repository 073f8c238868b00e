#include "webenginebrowser.h"

#include <QOpenGLWidget>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cmath>

namespace brambleview {

namespace {

// The web view draws into a texture. Qt gives a window with such a child
// another kind of surface, and a window that gets its first one late (the
// view makes it once a page starts loading) is destroyed and made anew, with
// a new handle: the window shape and the tray icon hold the old one. A hidden
// texture child made now, before the window exists, has the window made with
// the right surface from the start.
void primeForTextureChildren(QWidget* window) {
    auto* primer = new QOpenGLWidget(window);
    primer->setObjectName("textureSurfacePrimer");
    primer->setFixedSize(0, 0);
    primer->hide();
}

} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget* parent, const QRect& geometry)
    : profile_(new QWebEngineProfile),
      view_((primeForTextureChildren(parent->window()), new QWebEngineView(parent))),
      left_(geometry.left()) {
    view_->setObjectName("WebBrowser1");
    view_->setPage(new QWebEnginePage(profile_, view_));
    view_->setGeometry(geometry);
    view_->show();
}

WebEngineBrowser::~WebEngineBrowser() {
    delete view_; // the page first, then the profile it was made on
    delete profile_;
}

void WebEngineBrowser::setLeft(double pixels) {
    left_ = pixels; // kept as given: a position other than exactly 165 reads back as it was set
    if (view_)
        view_->move(int(std::lround(pixels)), view_->y());
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
