// Turns a window definition into live Qt controls on a parent widget. Each
// control's object name is its definition name.
#pragma once

#include "forms/shared/formdefinition.h"
#include "monitor/controls/controlset.h"
#include "monitor/platform/webbrowser.h"

#include <QStringList>

class QFont;
class QWidget;

namespace monitor {

class Pictures;

struct BuildOptions {
    double twipsPerPixel = forms::DesignTwipsPerPixel;
    // Makes the embedded browser of a program that has one; programs without
    // one leave it empty and never link a browser engine.
    BrowserFactory browserFactory;
};

// Every control but the embedded browser, which the window makes itself
// (it is no widget of ours: see WebBrowser), and their tab chain. The labels
// named in hotspots act when clicked: they are made Hotspots, which take the
// focus and are pressed by keys and by assistive technology.
ControlSet buildControls(const forms::Form& form, QWidget* parent, const BuildOptions& options,
                         Pictures& pictures, const QStringList& hotspots = {});

QFont toQFont(const forms::Font& font);

// "MS Serif" and friends are Windows faces; map them to fonts a Linux desktop has.
void installFontSubstitutes();

} // namespace monitor
