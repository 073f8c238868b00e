// Pieces both programs' definitions share: the never-drawn sockets and
// countdown timer, the hidden menu window, the controls' roles, the link
// buttons' pages and the build-time sites.
#pragma once

#include "forms/shared/formdefinition.h"

namespace forms {

inline constexpr auto MsSerif = "MS Serif";
inline const Font Serif6{MsSerif, 6, 400};
inline constexpr auto WindowIcon = ":/forms/vellmoor.ico";
inline constexpr auto RefreshPicture = ":/forms/refresh.bmp";

// The controls both windows have alike: the countdown, the credits hotspot,
// Refresh, the search box and its button, and the five link buttons.
std::vector<Control> sharedControls();

// The six probe sockets, aimed at the servers' build-time endpoints.
std::vector<Control> probeSockets();
Control countdownTimer();
// The main window, Form1, before its controls: caption, icon and design area.
Form mainForm();
Form menuForm();
Sites buildSites();
// Which shared control does what: both windows name theirs alike.
Roles mainRoles();
// The five link buttons' pages on the given sites.
std::vector<Link> linkButtons(const Sites& sites);
// Ten one-minute ticks between timed passes.
inline constexpr int CountdownTicks = 10;

} // namespace forms
