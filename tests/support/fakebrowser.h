// An embedded browser for tests: a plain widget that records where it is put
// and what it is told to load, in the desktop fakes' shared log.
#pragma once

#include "monitor/platform/webbrowser.h"

#include <QStringList>
#include <QWidget>

#include <functional>

namespace testing_support {

class FakeBrowser final : public monitor::WebBrowser {
public:
    FakeBrowser(QStringList& log, QWidget* parent, const QRect& geometry);
    double Left() const override { return left_; }
    void setLeft(double pixels) override;
    void Navigate(const QString& url) override;

    QWidget* widget() const { return widget_; }
    QStringList navigations;
    std::function<void()> onNavigate; // sees the window as Navigate finds it

private:
    QStringList& log_;
    QWidget* widget_; // owned by the window, as a real browser's view is
    double left_;
};

// A factory that makes FakeBrowsers and remembers the last one made.
struct FakeBrowsers {
    explicit FakeBrowsers(QStringList& log) : log_(log) {}
    monitor::BrowserFactory factory();
    FakeBrowser* last = nullptr;

private:
    QStringList& log_;
};

} // namespace testing_support
