#include "forms/shared/common.h"

#include "forms/shared/endpoints.h"

namespace forms {

std::vector<Control> probeSockets() {
    std::vector<Control> sockets;
    for (const Server& s : servers())
        sockets.push_back({.name = s.socket,
                           .kind = ControlKind::Winsock,
                           .remoteHost = s.host,
                           .remotePort = s.port});
    return sockets;
}

Control countdownTimer() {
    return {.name = "Timer1", .kind = ControlKind::Timer, .interval = 60000, .enabled = true};
}

Form menuForm() {
    return {.name = "Form2",
            .caption = "Form2",
            .left = 165,
            .top = 855,
            .width = 4680,
            .height = 3090,
            .menus = {{"mnupopup", "mnupopup", {{"mnuExit", "Exit"}}}}};
}

Sites buildSites() {
    return {endpoints::OfficialSite, endpoints::SearchHost, endpoints::FanSiteHost,
            endpoints::WikiHost,     endpoints::ClanHost,   endpoints::CommunityHost};
}

} // namespace forms
