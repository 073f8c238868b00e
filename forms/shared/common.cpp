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

namespace {

constexpr auto Label = ControlKind::Label;
constexpr auto Button = ControlKind::CommandButton;

Control linkButton(const char* name, int top, const char* text, const char* tip, int tab) {
    return {.name = name,
            .kind = Button,
            .left = 2520,
            .top = top,
            .width = 1815,
            .height = 255,
            .text = text,
            .toolTip = tip,
            .tabIndex = tab};
}

} // namespace

std::vector<Control> sharedControls() {
    // A table, one control to a line or two: keep it as laid out.
    // clang-format off
    return {
        {.name = "Label1", .kind = Label, .left = 6120, .top = 4560, .width = 375, .height = 255,
         .text = "10...", .foreColor = Yellow, .transparent = true,
         .toolTip = "This is how many minutes left until next auto refresh", .tabIndex = 10},
        {.name = "Label4", .kind = Label, .left = 6840, .top = 7200, .width = 735, .height = 255,
         .transparent = true, .toolTip = "Coding by Tib", .tabIndex = 18},
        {.name = "Command1", .kind = Button, .left = 5280, .top = 4560, .width = 735,
         .height = 255, .text = "Refresh", .backColor = Silver,
         .toolTip = "Force Refresh Nao! DO NOT SPAM THIS BUTTON, YOU WILL GET AN IP BAN xD",
         .tabIndex = 1, .picture = RefreshPicture},
        {.name = "Text1", .kind = ControlKind::TextBox, .left = 2520, .top = 3000, .width = 1335,
         .height = 225, .text = "Forum Search", .font = Serif6, .toolTip = "Enter Search Query",
         .tabIndex = 2},
        {.name = "Command2", .kind = Button, .left = 3960, .top = 3000, .width = 255,
         .height = 255, .text = "->", .backColor = Silver, .font = Serif6,
         .toolTip = "Search Vellmoor Forum! (Opens in default browser)", .tabIndex = 3},
        linkButton("Command6", 4215, "VellNA Official Site", "Load the official Vell NA web site.",
                   16),
        linkButton("Command7", 4530, "VellBook", "Load the VellBook site, Facebook for Vell Nuts!",
                   17),
        linkButton("Command5", 4845, "Marrowdell", "Load the Marrowdell clan site.", 15),
        linkButton("Command4", 5160, "VellNA Wiki", "Load the Vell NA Wiki.", 14),
        linkButton("Command3", 5475, "VellFans", "Load the VellFans site, web based server status.",
                   13),
    };
    // clang-format on
}

Form mainForm() {
    return {.name = "Form1",
            .caption = "Form1",
            .icon = WindowIcon,
            .left = 0,
            .top = 0,
            .width = 12375,
            .height = 10530};
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
            .menus = {{"mnupopup",
                       "mnupopup",
                       {{"mnuNotify", "Notify me of changes", true},
                        {"mnuStartAtLogin", "Start at login", true},
                        {"mnuExit", "Exit", false}}}}};
}

Roles mainRoles() {
    return {.refresh = "Command1",
            .search = "Command2",
            .searchBox = "Text1",
            .hide = "Label2",
            .close = "Label3",
            .logToggle = "Command8",
            .countdown = "Label1",
            .countdownTimer = "Timer1",
            .picture = "PicBackground",
            .exitItem = "mnuExit",
            .notifyItem = "mnuNotify",
            .startItem = "mnuStartAtLogin"};
}

std::vector<Link> linkButtons(const Sites& s) {
    return {
        {"Command3", "http://" + s.fanSiteHost + "/site/vellmoor/brambleview.php"}, // server status
        {"Command4", "http://" + s.wikiHost + "/"},
        {"Command5", "http://" + s.clanHost + "/"},
        {"Command6", "http://" + s.officialSite},
        {"Command7", "http://" + s.communityHost + "/"},
    };
}

Sites buildSites() {
    return {endpoints::OfficialSite, endpoints::SearchHost, endpoints::FanSiteHost,
            endpoints::WikiHost,     endpoints::ClanHost,   endpoints::CommunityHost};
}

} // namespace forms
