// The page's place among the panel's widgets. The web view lives in a window
// of its own inside the panel's (see webenginebrowser.cpp), outside the
// panel's widget tree, so the keyboard and screen readers would never reach
// it. This stand-in lies where the page shows: it is the page's stop in the
// panel's tab chain and the page's node in the panel's accessible tree (the
// view's document is its child). While it has the focus the panel's keys go
// on to the page; Tab past the page's last stop, Shift+Tab before its first
// and Escape give the focus back to the panel.
#pragma once

#include <QPointer>
#include <QWebEngineView>
#include <QWidget>

#include <functional>

class QWindow;

namespace monitor::webengine {

// A web view that tells when its page passes the focus on, instead of
// moving it among the widgets of its own window.
class PageView final : public QWebEngineView {
public:
    std::function<void(bool next)> focusPassedOn;

protected:
    bool focusNextPrevChild(bool next) override;
};

class PageHost final : public QWidget {
    Q_OBJECT
public:
    PageHost(QWidget& panel, PageView& view);

    PageView* view() const { return view_; }
    // Where the page lies in the panel: the host takes part (focus, the
    // accessible tree) only where the panel can show it.
    void follow(const QRect& geometry);
    // The control that shows and parks the page: the page follows it in the
    // tab chain, and Escape in the page goes back to it.
    void followInTabOrder(QWidget* toggle);
    // A click in the page's window gives the page the keyboard.
    void watch(QWindow* viewWindow);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* pageFocus() const;
    void passFocusOn(bool next);

    QPointer<PageView> view_;
    QPointer<QWidget> toggle_;
    QPointer<QWindow> viewWindow_;
    QPointer<QWidget> focusedPage_; // the page widget last told it has the focus
};

// Lets screen readers see the page under its host (idempotent).
void installPageAccessibility();

} // namespace monitor::webengine
