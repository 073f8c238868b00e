// The game's six servers, in probe-table order: the one table every probe,
// the local realm, the tests and the benchmarks take their endpoints from.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace forms {

struct Server {
    QString key;       // short name, as the local realm takes it: "update", "login", ...
    QString socket;    // the probe socket's control name
    QString indicator; // the indicator label's control name
    QString name;      // the name players read, e.g. "Character Select"
    QString host;      // build-time address (forms/shared/Endpoints.cmake)
    std::uint16_t port = 0;
    QString toolTip;  // the indicator's hover text
    int tabIndex = 0; // the indicator's place in the tab order
    QString spoken;   // what a screen reader calls the server: "Login server"
};

// update, login, character select, channel 1, 2, 3.
const std::vector<Server>& servers();

} // namespace forms
