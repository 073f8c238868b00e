// Tallowbar's windows. Only the six indicators and the hide and close labels
// lie inside the 240 x 89 skin; every other control exists, keeps its tab
// place and reacts as usual, but the window shape cuts it away.
#include "forms/tallowbar/tallowbar.h"

#include "forms/shared/common.h"

namespace forms {
namespace {

constexpr auto Label = ControlKind::Label;
constexpr auto Button = ControlKind::CommandButton;

const Font Serif6{MsSerif, 6, 400};
const Font Serif6Bold{MsSerif, 6, 700};

Control indicator(const char* name, int left, int top, const char* tip, int tab) {
    return {.name = name,
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
            .toolTip = tip,
            .tabIndex = tab};
}

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

Form tickerForm() {
    Form f{.name = "Form1",
           .caption = "Form1",
           .icon = ":/forms/vellmoor.ico",
           .left = 0,
           .top = 0,
           .width = 12375,
           .height = 10530};
    // A table, one control to a line or two: keep it as laid out.
    // clang-format off
    f.controls = {
        indicator("LblCh1", 1125, 555, "Status of channel 1", 6),
        indicator("LblCh2", 1125, 765, "Status of channel 2", 5),
        indicator("LblCh3", 1125, 975, "Status of channel 3", 4),
        indicator("LblUpdate", 2565, 555, "Status of update server", 9),
        indicator("Lbllogin", 2565, 765, "Status of login server", 8),
        indicator("LblCharSelect", 2565, 975, "Status of character select server", 7),
        {.name = "Label3", .kind = Label, .left = 3285, .top = 45, .width = 135, .height = 135,
         .text = "X", .foreColor = Red, .backColor = Black, .alignment = Alignment::Center,
         .font = Serif6Bold, .toolTip = "Close this app!", .tabIndex = 12},
        {.name = "Label2", .kind = Label, .left = 3420, .top = 45, .width = 135, .height = 135,
         .text = "--", .foreColor = Red, .backColor = Black, .font = Serif6Bold,
         .toolTip = "Hide this app!", .tabIndex = 11},
        {.name = "Label1", .kind = Label, .left = 6120, .top = 4560, .width = 375, .height = 255,
         .text = "10...", .foreColor = Yellow, .transparent = true,
         .toolTip = "This is how many minutes left until next auto refresh", .tabIndex = 10},
        {.name = "Label4", .kind = Label, .left = 6840, .top = 7200, .width = 735, .height = 255,
         .transparent = true, .toolTip = "Coding by Tib", .tabIndex = 18},
        {.name = "Command1", .kind = Button, .left = 5280, .top = 4560, .width = 735,
         .height = 255, .text = "Refresh", .backColor = Silver,
         .toolTip = "Force Refresh Nao! DO NOT SPAM THIS BUTTON, YOU WILL GET AN IP BAN xD",
         .tabIndex = 1, .picture = ":/forms/refresh.bmp"},
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
        {.name = "Command8", .kind = Button, .left = 9000, .top = 2280, .width = 2055,
         .height = 255, .text = "Show/Hide Update Log", .tabIndex = 19},
        {.name = "PicBackground", .kind = ControlKind::PictureBox, .left = 8880, .top = 5760,
         .width = 3600, .height = 1335, .tabIndex = 0, .picture = ":/forms/ticker_skin.bmp"},
        countdownTimer(),
        {.name = "ToolTipUpdater", .kind = ControlKind::Timer, .interval = 5000,
         .enabled = false},
    };
    // clang-format on
    for (auto& socket : probeSockets())
        f.controls.push_back(std::move(socket));
    return f;
}

} // namespace

Program tallowbar() {
    return {.name = "Tallowbar",
            .fileVersion = VELL_FILE_VERSION,
            .form1 = tickerForm(),
            .form2 = menuForm(),
            .probes = servers(),
            .indicators = {"Y", "X"},
            .trayTitle = {},
            .summaryTimer = "ToolTipUpdater",
            .page = {},
            .sites = buildSites()};
}

} // namespace forms
