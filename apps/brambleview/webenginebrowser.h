// The embedded browser over Qt WebEngine: a web view inside the main window,
// on a profile of its own that keeps nothing on disk (the program keeps no
// state between runs). Only Brambleview links this.
#pragma once

#include "monitor/platform/webbrowser.h"

#include <QPointer>
#include <QRect>

#include <memory>

class QWebEngineProfile;
class QWebEngineView;
class QWindow;

namespace brambleview {

class WebEngineBrowser final : public monitor::WebBrowser {
public:
    WebEngineBrowser(QWidget* parent, const QRect& geometry);
    ~WebEngineBrowser() override;

    double Left() const override { return left_; }
    void setLeft(double pixels) override;
    void Navigate(const QString& url) override;

private:
    class Embedder;
    void embedIn(QWindow* panel);

    QWebEngineProfile* profile_; // outlives the view's page, so it goes last
    QPointer<QWebEngineView> view_;
    QRect geometry_; // in the panel's pixels
    double left_;
    QWindow* embeddedIn_ = nullptr;
    std::unique_ptr<Embedder> embedder_;
};

monitor::BrowserFactory webEngineBrowsers();

} // namespace brambleview
