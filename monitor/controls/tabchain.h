// The keyboard's way through a form: the controls that can take the focus, in
// their definitions' tab index order. Only a control a user can see is a stop:
// one outside the window's shape, or under something shown over it, takes
// neither the focus nor keys. The tab indexes stay as the definition has them.
#pragma once

#include <QList>
#include <QRegion>

#include <vector>

class QWidget;

namespace monitor {

class TabChain {
public:
    // A control that takes the focus by its own policy, at its tab index.
    void add(int tabIndex, QWidget* control);
    // Links Qt's focus chain in tab index order (definition order for equal
    // indexes). Until show is called every control is a stop.
    void link();
    // Keeps as stops the controls with some pixel inside shape and outside
    // covered (window pixels); the others lose the focus, which goes to the
    // first stop.
    void show(const QRegion& shape, const QRegion& covered = {});

    QList<QWidget*> stops() const; // in tab order
    QWidget* first() const;        // the first stop; nullptr when none

private:
    struct Entry {
        int tabIndex;
        QWidget* control;
        Qt::FocusPolicy policy; // its own, given back when it shows again
    };
    std::vector<Entry> entries_;
};

} // namespace monitor
