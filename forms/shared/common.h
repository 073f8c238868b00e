// Pieces both programs' definitions share: the never-drawn sockets and
// countdown timer, the hidden menu window and the build-time sites.
#pragma once

#include "forms/shared/formdefinition.h"

namespace forms {

inline constexpr auto MsSerif = "MS Serif";

// The six probe sockets, aimed at the servers' build-time endpoints.
std::vector<Control> probeSockets();
Control countdownTimer();
Form menuForm();
Sites buildSites();

} // namespace forms
