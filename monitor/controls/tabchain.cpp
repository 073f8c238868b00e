#include "monitor/controls/tabchain.h"

#include <QWidget>

#include <algorithm>

namespace monitor {

void TabChain::add(int tabIndex, QWidget* control) {
    entries_.push_back({tabIndex, control, control->focusPolicy()});
}

void TabChain::link() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.tabIndex < b.tabIndex; });
    for (size_t i = 1; i < entries_.size(); ++i)
        QWidget::setTabOrder(entries_[i - 1].control, entries_[i].control);
}

void TabChain::show(const QRegion& shape, const QRegion& covered) {
    const QRegion seen = shape.subtracted(covered);
    std::vector<QWidget*> hidden;
    for (const Entry& e : entries_) {
        const bool visible = seen.intersects(e.control->geometry());
        e.control->setFocusPolicy(visible ? e.policy : Qt::NoFocus);
        if (!visible)
            hidden.push_back(e.control);
    }
    for (QWidget* control : hidden) {
        if (control->window()->focusWidget() != control)
            continue;
        if (QWidget* to = first())
            to->setFocus(Qt::OtherFocusReason);
        else
            control->clearFocus();
    }
}

QList<QWidget*> TabChain::stops() const {
    QList<QWidget*> out;
    for (const Entry& e : entries_)
        if (e.control->focusPolicy() != Qt::NoFocus)
            out << e.control;
    return out;
}

QWidget* TabChain::first() const {
    const QList<QWidget*> all = stops();
    return all.isEmpty() ? nullptr : all.front();
}

} // namespace monitor
