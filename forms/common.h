// Pieces both programs' definitions share: the probe table, the never-drawn
// sockets and countdown timer, the hidden menu window and the build-time sites.
#pragma once

#include "forms/formdefinition.h"

namespace forms {

inline constexpr auto MsSerif = "MS Serif";

std::vector<ProbeRow> probeTable();
std::vector<Control> probeSockets();
Control countdownTimer();
Form menuForm();
Sites buildSites();

} // namespace forms
