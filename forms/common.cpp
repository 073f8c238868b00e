#include "forms/common.h"

#include "forms/endpoints.h"

namespace forms {

std::vector<ProbeRow> probeTable() {
    return {
        {"SrvUpdate", "LblUpdate", "Update"},
        {"SrvLogin", "Lbllogin", "Login"},
        {"SrvCharSelect", "LblCharSelect", "Character Select"},
        {"SrvCh1", "LblCh1", "Channel 1"},
        {"SrvCh2", "LblCh2", "Channel 2"},
        {"SrvCh3", "LblCh3", "Channel 3"},
    };
}

std::vector<Control> probeSockets() {
    auto socket = [](const char* name, const char* host, std::uint16_t port) {
        return Control{
            .name = name, .kind = ControlKind::Winsock, .remoteHost = host, .remotePort = port};
    };
    return {
        socket("SrvUpdate", endpoints::UpdateHost, 80),
        socket("SrvLogin", endpoints::LoginHost, 29000),
        socket("SrvCharSelect", endpoints::CharSelectHost, 29100),
        socket("SrvCh1", endpoints::Ch1Host, 29200),
        socket("SrvCh2", endpoints::Ch2Host, 29200),
        socket("SrvCh3", endpoints::Ch3Host, 29200),
    };
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
