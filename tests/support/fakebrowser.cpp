#include "support/fakebrowser.h"

namespace testing_support {

FakeBrowser::FakeBrowser(QStringList& log, QWidget* parent, const QRect& geometry)
    : log_(log), widget_(new QWidget(parent)), left_(geometry.left()) {
    widget_->setObjectName("WebBrowser1");
    widget_->setGeometry(geometry);
    widget_->show();
}

void FakeBrowser::setLeft(double pixels) {
    log_ << QString("WebBrowser1.Left=%1").arg(pixels);
    left_ = pixels;
    widget_->move(int(pixels), widget_->y());
}

void FakeBrowser::Navigate(const QString& url) {
    log_ << "WebBrowser1.Navigate(" + url + ")";
    navigations << url;
    if (onNavigate)
        onNavigate();
}

monitor::BrowserFactory FakeBrowsers::factory() {
    return [this](QWidget* parent, const QRect& geometry, monitor::UrlShell&) {
        auto browser = std::make_unique<FakeBrowser>(log_, parent, geometry);
        last = browser.get();
        return std::unique_ptr<monitor::WebBrowser>(std::move(browser));
    };
}

} // namespace testing_support
