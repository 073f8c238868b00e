#include "monitor/platform/webengine/pagehost.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWindow>

namespace monitor::webengine {

bool PageView::focusNextPrevChild(bool next) {
    if (!focusPassedOn)
        return QWebEngineView::focusNextPrevChild(next);
    focusPassedOn(next);
    return true;
}

PageHost::PageHost(QWidget& panel, PageView& view) : QWidget(&panel), view_(&view) {
    setObjectName("WebBrowser1Page");
    setFocusPolicy(Qt::StrongFocus);
    // The page's own window lies over the panel and takes the mouse there.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    view.focusPassedOn = [this](bool next) { passFocusOn(next); };
    connect(&view, &QWebEngineView::titleChanged, this, &QWidget::setAccessibleName);
    installPageAccessibility();
}

void PageHost::follow(const QRect& geometry) {
    setGeometry(geometry);
    setVisible(geometry.intersects(parentWidget()->rect()));
    // Over the controls it covers, as the page is: the panel's node finds it
    // first under a point, and reads it after them.
    raise();
}

void PageHost::followInTabOrder(QWidget* toggle) {
    toggle_ = toggle;
    if (toggle)
        QWidget::setTabOrder(toggle, this);
}

void PageHost::watch(QWindow* viewWindow) {
    if (viewWindow_)
        viewWindow_->removeEventFilter(this);
    viewWindow_ = viewWindow;
    if (viewWindow)
        viewWindow->installEventFilter(this);
}

QWidget* PageHost::pageFocus() const {
    if (!view_)
        return nullptr;
    return view_->focusProxy() ? view_->focusProxy() : view_.data();
}

void PageHost::passFocusOn(bool next) {
    if (hasFocus())
        focusNextPrevChild(next);
}

bool PageHost::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewWindow_ && event->type() == QEvent::MouseButtonPress && isVisible())
        setFocus(Qt::MouseFocusReason);
    return false;
}

bool PageHost::event(QEvent* event) {
    // Qt activates the top-level window above a window that sits inside
    // another, so the view's never becomes the active one and its widgets
    // never get the focus from Qt: the host's focus and keys are the page's.
    QWidget* page = pageFocus();
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (page)
            QCoreApplication::sendEvent(page, event);
        focusedPage_ = event->type() == QEvent::FocusIn ? page : nullptr;
        return QWidget::event(event);
    case QEvent::ShortcutOverride: // every key goes to the page, Tab too
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            if (toggle_ && toggle_->isVisible())
                toggle_->setFocus(Qt::OtherFocusReason);
            else
                focusNextPrevChild(false);
            return true;
        }
        [[fallthrough]];
    case QEvent::KeyRelease:
        if (page && page != focusedPage_ && hasFocus()) {
            // A new render process brings a new widget: it learns it has the focus.
            QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(page, &in);
            focusedPage_ = page;
        }
        if (page)
            QCoreApplication::sendEvent(page, event);
        event->accept(); // the page's, whether it used it or not: not the panel's
        return true;
    default:
        return QWidget::event(event);
    }
}

namespace {

// The host's node holds the view's as its one child; the view's own node
// (the web engine's) holds the document.
class PageHostAccessible final : public QAccessibleWidget {
public:
    explicit PageHostAccessible(PageHost* host) : QAccessibleWidget(host, QAccessible::Grouping) {}

    int childCount() const override { return page() ? 1 : 0; }
    QAccessibleInterface* child(int index) const override { return index == 0 ? page() : nullptr; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child == page() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* view = page();
        return view && view->rect().contains(x, y) ? view : nullptr;
    }

private:
    // Parked, the page is nowhere to be seen, and not read either.
    QAccessibleInterface* page() const {
        PageView* view = static_cast<PageHost*>(widget())->view();
        return view && widget()->isVisible() ? QAccessible::queryAccessibleInterface(view)
                                             : nullptr;
    }
};

// A point over the shown page finds the page, not a control it covers: Qt's
// node for a widget takes the first child under a point, the lowest in the
// stack; the panel's node takes the topmost, as the mouse does.
class PanelAccessible final : public QAccessibleWidget {
public:
    explicit PanelAccessible(QWidget* panel) : QAccessibleWidget(panel) {}

    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = childCount() - 1; i >= 0; --i) {
            QAccessibleInterface* c = child(i);
            if (c && c->isValid() && !c->state().invisible && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }
};

QAccessibleInterface* pageHostAccessible(const QString&, QObject* object) {
    if (auto* host = qobject_cast<PageHost*>(object))
        return new PageHostAccessible(host);
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->isWindow() &&
        widget->findChild<PageHost*>(QString(), Qt::FindDirectChildrenOnly))
        return new PanelAccessible(widget);
    return nullptr;
}

} // namespace

void installPageAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(pageHostAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace monitor::webengine
