// Tallowbar's windows. Only the six indicators and the hide and close labels
// lie inside the 240 x 89 skin; every other control exists, keeps its tab
// place and reacts as usual, but the window shape cuts it away.
#include "forms/tallowbar/tallowbar.h"

#include "forms/shared/common.h"

namespace forms {
namespace {

constexpr auto Label = ControlKind::Label;
constexpr auto Button = ControlKind::CommandButton;

const Font Serif6Bold{MsSerif, 6, 700};

Control indicator(const Server& server, int left, int top) {
    return {.name = server.indicator,
            .kind = Label,
            .left = left,
            .top = top,
            .width = 135,
            .height = 255,
            .text = "0",
            .foreColor = White,
            .transparent = true,
            .alignment = Alignment::Right,
            .font = Serif6,
            .toolTip = server.toolTip,
            .tabIndex = server.tabIndex};
}

Form tickerForm() {
    Form f = mainForm();
    // A table, one control to a line or two: keep it as laid out.
    // clang-format off
    f.controls = {
        indicator(servers()[3], 1125, 555),
        indicator(servers()[4], 1125, 765),
        indicator(servers()[5], 1125, 975),
        indicator(servers()[0], 2565, 555),
        indicator(servers()[1], 2565, 765),
        indicator(servers()[2], 2565, 975),
        {.name = "Label3", .kind = Label, .left = 3285, .top = 45, .width = 135, .height = 135,
         .text = "X", .foreColor = Red, .backColor = Black, .alignment = Alignment::Center,
         .font = Serif6Bold, .toolTip = "Close this app!", .tabIndex = 12},
        {.name = "Label2", .kind = Label, .left = 3420, .top = 45, .width = 135, .height = 135,
         .text = "--", .foreColor = Red, .backColor = Black, .font = Serif6Bold,
         .toolTip = "Hide this app!", .tabIndex = 11},
    };
    // clang-format on
    for (auto& c : sharedControls())
        f.controls.push_back(std::move(c));
    // clang-format off
    f.controls.insert(f.controls.end(), {
        {.name = "Command8", .kind = Button, .left = 9000, .top = 2280, .width = 2055,
         .height = 255, .text = "Show/Hide Update Log", .tabIndex = 19},
        {.name = "PicBackground", .kind = ControlKind::PictureBox, .left = 8880, .top = 5760,
         .width = 3600, .height = 1335, .tabIndex = 0, .picture = ":/forms/ticker_skin.bmp"},
        countdownTimer(),
        {.name = "ToolTipUpdater", .kind = ControlKind::Timer, .interval = 5000,
         .enabled = false},
    });
    // clang-format on
    for (auto& socket : probeSockets())
        f.controls.push_back(std::move(socket));
    return f;
}

} // namespace

Program tallowbar() {
    const Sites sites = buildSites();
    return {.name = "Tallowbar",
            .fileVersion = VELL_FILE_VERSION,
            .form1 = tickerForm(),
            .form2 = menuForm(),
            .roles = mainRoles(),
            .probes = servers(),
            .indicators = {"Y", "X"},
            .countdownTicks = CountdownTicks,
            .trayTitle = {},
            .summaryTimer = "ToolTipUpdater",
            .page = {},
            .sites = sites,
            .links = linkButtons(sites),
            .desktopEntry = ":/forms/tallowbar.desktop"};
}

} // namespace forms
