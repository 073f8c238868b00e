// The embedded browser over Qt WebEngine: a web view inside the main window,
// on a profile of its own that keeps nothing on disk (the program keeps no
// state between runs). A library of its own, linked by Brambleview alone.
#pragma once

#include "monitor/platform/webbrowser.h"

#include <QPointer>

#include <memory>

class QWebEngineProfile;
class QWebEngineView;

namespace monitor::webengine {

class SitePage;

class WebEngineBrowser final : public WebBrowser {
public:
    WebEngineBrowser(QWidget* parent, const QRect& geometry, UrlShell& urls);
    ~WebEngineBrowser() override;

    double Left() const override { return left_; }
    void setLeft(double pixels) override;
    void Navigate(const QString& url) override;
    void setToggle(QWidget* toggle) override;

private:
    class Embedder;

    QWebEngineProfile* profile_ = nullptr; // outlives the view's page, so it goes last
    QPointer<QWebEngineView> view_;
    QPointer<SitePage> page_; // the view's
    double left_;
    std::unique_ptr<Embedder> embedder_;
};

// Also asks the web engine for accessible pages: call before the application
// starts.
BrowserFactory webEngineBrowsers();

} // namespace monitor::webengine
