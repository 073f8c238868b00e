// The embedded web browser control as the main window uses it: a left edge
// to move it by and a page to load. The program that has one supplies the
// factory (over a web engine only it links); tests supply a recording one.
#pragma once

#include <QRect>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace monitor {

class WebBrowser {
public:
    virtual ~WebBrowser() = default;
    // The left edge in the window's scale unit, pixels.
    virtual double Left() const = 0;
    virtual void setLeft(double pixels) = 0;
    // Starts loading url and returns at once; the outcome is not reported.
    virtual void Navigate(const QString& url) = 0;
    // The control that shows and parks the page: the page follows it in the
    // tab chain, and the keyboard goes back to it from the page on Escape.
    virtual void setToggle(QWidget* toggle) { (void)toggle; }
};

class UrlShell;

// Makes the control as a child of parent, at geometry (pixels). Links the
// user follows away from the page's site go to urls, the desktop's browser.
using BrowserFactory = std::function<std::unique_ptr<WebBrowser>(
    QWidget* parent, const QRect& geometry, UrlShell& urls)>;

} // namespace monitor
