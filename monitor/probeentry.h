// One row of the probe table: a socket and the indicator its answers go to.
#pragma once

#include "forms/shared/formdefinition.h"

#include <QString>

namespace monitor {

class Winsock;
class LabelControl;

struct ProbeEntry {
    Winsock* socket = nullptr; // its endpoint is the socket's own
    LabelControl* indicator = nullptr;
    QString upText;   // caption when the server accepted
    QString downText; // caption when the attempt failed
    QString name;     // the server's name players read, e.g. "Login"
    QString spoken;   // the server as a screen reader names it, e.g. "Login server"
};

// Indicator text colours.
inline constexpr forms::Colour IndicatorUp = forms::Green;
inline constexpr forms::Colour IndicatorDown = forms::Red;
inline constexpr forms::Colour IndicatorChecking = forms::Black; // while a pass runs

} // namespace monitor
