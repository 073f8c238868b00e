// The live controls of one form, found by their definition names, and the
// keyboard's way through them.
#pragma once

#include "monitor/controls/tabchain.h"

#include <QObject>
#include <QString>

#include <map>
#include <stdexcept>

namespace monitor {

class ControlSet {
public:
    void add(const QString& name, QObject* control) { controls_[name] = control; }

    // The named control as T; nullptr when the form has no such control.
    template <typename T>
    T* find(const QString& name) const {
        const auto it = controls_.find(name);
        return it == controls_.end() ? nullptr : qobject_cast<T*>(it->second);
    }
    // As find, but a definition that lacks the control is a build error.
    template <typename T>
    T* get(const QString& name) const {
        if (T* c = find<T>(name))
            return c;
        throw std::logic_error("window definition lacks control " + name.toStdString());
    }

    TabChain& tabChain() { return tabChain_; }
    const TabChain& tabChain() const { return tabChain_; }

private:
    std::map<QString, QObject*> controls_;
    TabChain tabChain_;
};

} // namespace monitor
