// One row of the probe table: a socket and the indicator its answers go to.
#pragma once

#include <QString>

namespace monitor {

class Winsock;
class LabelControl;

struct ProbeEntry {
    Winsock* socket = nullptr;
    LabelControl* indicator = nullptr;
    QString server;   // display name, e.g. "Login"; the endpoint is the socket's own
    QString upText;   // caption when the server accepted
    QString downText; // caption when the attempt failed
};

// Indicator text colours, 0x00BBGGRR.
inline constexpr unsigned IndicatorUp = 65280;   // green
inline constexpr unsigned IndicatorDown = 255;   // red
inline constexpr unsigned IndicatorChecking = 0; // black, while a pass runs

} // namespace monitor
