// Brambleview's windows: the ticker's controls on a large skin where every one
// of them can be seen and clicked, wider indicators that name their servers,
// hotspots over the buttons drawn in the skin, and the embedded browser that
// shows the game-start page (parked at its own left, outside the shape).
#include "forms/brambleview/brambleview.h"

#include "forms/shared/common.h"

namespace forms {
namespace {

constexpr auto Label = ControlKind::Label;
constexpr auto PanelSkin = ":/forms/panel_skin.bmp";

// Right-aligned over the parchment, in the label's default face: the server's
// name and a colon until its first answer.
Control indicator(const Server& server, int top) {
    return {.name = server.indicator,
            .kind = Label,
            .left = 4680,
            .top = top,
            .width = 1815,
            .height = 255,
            .text = server.name + ":",
            .transparent = true,
            .alignment = Alignment::Right,
            .toolTip = server.toolTip,
            .tabIndex = server.tabIndex};
}

// A clickable spot over a button drawn in the skin: no text, nothing drawn.
Control hotspot(const char* name, int left, int top, int width, int height, const char* tip,
                int tab) {
    return {.name = name,
            .kind = Label,
            .left = left,
            .top = top,
            .width = width,
            .height = height,
            .transparent = true,
            .toolTip = tip,
            .tabIndex = tab};
}

Form panelForm() {
    Form f = mainForm();
    for (int row = 0; row < 6; ++row)
        f.controls.push_back(indicator(servers()[size_t(row)], 3000 + 240 * row));
    f.controls.push_back(hotspot("Label2", 7200, 5160, 855, 735, "Hide this app!", 11));
    f.controls.push_back(hotspot("Label3", 7200, 6120, 735, 735, "Close this app!", 12));
    for (auto& c : sharedControls())
        f.controls.push_back(std::move(c));
    // clang-format off
    f.controls.insert(f.controls.end(), {
        {.name = "Command8", .kind = ControlKind::CommandButton, .left = 2400, .top = 2280,
         .width = 2055, .height = 255, .text = "Show/Hide Update Log", .tabIndex = 20},
        {.name = "PicBackground", .kind = ControlKind::PictureBox, .left = 8880, .top = 5760,
         .width = 8430, .height = 7800, .tabIndex = 0, .picture = PanelSkin},
        countdownTimer(),
        {.name = "WebBrowser1", .kind = ControlKind::WebBrowser, .left = 8880, .top = 2655,
         .width = 4065, .height = 3105, .tabIndex = 19},
    });
    // clang-format on
    for (auto& socket : probeSockets())
        f.controls.push_back(std::move(socket));
    return f;
}

} // namespace

Program brambleview() {
    const Sites sites = buildSites();
    return {
        .name = "Brambleview",
        .fileVersion = VELL_FILE_VERSION,
        .form1 = panelForm(),
        .form2 = menuForm(),
        .roles = mainRoles(),
        .probes = servers(),
        .indicators = {"%1: Active", "%1: Down"},
        .countdownTicks = CountdownTicks,
        .trayTitle = "Tib's Server Status\r\n - Click to Show Status App",
        .summaryTimer = {},
        // Shown over the parchment's left column, inside the shape.
        .page = {"WebBrowser1", "http://" + sites.officialSite + "/gamestart/gamestart.asp", 165},
        .sites = sites,
        .links = linkButtons(sites),
        .desktopEntry = ":/forms/brambleview.desktop"};
}

} // namespace forms
