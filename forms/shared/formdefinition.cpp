#include "forms/shared/formdefinition.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace forms {

const Control* Form::find(const QString& controlName) const {
    const auto it = std::find_if(controls.begin(), controls.end(),
                                 [&](const Control& c) { return c.name == controlName; });
    return it == controls.end() ? nullptr : &*it;
}

const Control& Form::get(const QString& controlName) const {
    if (const Control* c = find(controlName))
        return *c;
    throw std::logic_error("window definition lacks control " + controlName.toStdString());
}

int twipsToPixels(int twips, double perPixel) {
    return static_cast<int>(std::lround(twips / perPixel));
}

int pixelsToTwips(int pixels, double perPixel) {
    return static_cast<int>(std::lround(pixels * perPixel));
}

QRect Control::pixelRect(double twipsPerPixel) const {
    const auto px = [twipsPerPixel](int twips) { return twipsToPixels(twips, twipsPerPixel); };
    return {px(left), px(top), px(width), px(height)};
}

QPoint Control::centre(double twipsPerPixel) const {
    return pixelRect(twipsPerPixel).center();
}

} // namespace forms
