#include "forms/shared/formdefinition.h"

#include <algorithm>

namespace forms {

const Control* Form::find(const QString& controlName) const {
    const auto it = std::find_if(controls.begin(), controls.end(),
                                 [&](const Control& c) { return c.name == controlName; });
    return it == controls.end() ? nullptr : &*it;
}

} // namespace forms
