// Turns a window definition into live Qt controls on a parent widget. Each
// control's object name is its definition name.
#pragma once

#include "monitor/controls/controlset.h"
#include "forms/formdefinition.h"

#include <functional>

class QWidget;

namespace monitor {

// Makes the embedded web view for a WebBrowser control; programs without one
// leave it empty and never link a browser engine.
using BrowserFactory = std::function<QWidget*(QWidget* parent)>;

struct BuildOptions {
    double twipsPerPixel = 15.0;
    BrowserFactory browserFactory;
};

ControlSet buildControls(const forms::Form& form, QWidget* parent, const BuildOptions& options);

// "MS Serif" and friends are Windows faces; map them to fonts a Linux desktop has.
void installFontSubstitutes();

} // namespace monitor
