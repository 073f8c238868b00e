// The window definition model: a window is a form of named controls whose
// design-time properties are fixed at build time. A generic form builder
// (monitor/) turns a definition into live widgets; nothing here knows Qt Widgets.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace forms {

// A colour as 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | static_cast<Colour>(g & 0xFF) << 8 |
           static_cast<Colour>(b & 0xFF) << 16;
}

constexpr Colour White = rgb(255, 255, 255);
constexpr Colour Black = rgb(0, 0, 0);
constexpr Colour Red = rgb(255, 0, 0);
constexpr Colour Yellow = rgb(255, 255, 0);
constexpr Colour Silver = rgb(192, 192, 192);
constexpr Colour Green = rgb(0, 255, 0);

enum class ControlKind {
    Label,
    CommandButton,
    TextBox,
    PictureBox,
    Timer,
    Winsock,
    WebBrowser,
};

enum class Alignment { Left, Right, Center };

struct Font {
    QString face;
    int points = 8;
    int weight = 400; // 400 regular, 700 bold
};

// One control of a form. Positions and sizes are twips from the client area's
// top-left corner; unset optionals mean "the platform default".
struct Control {
    QString name;
    ControlKind kind = ControlKind::Label;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString text;
    std::optional<Colour> foreColor;
    std::optional<Colour> backColor;
    bool transparent = false; // labels: draw only the text over what lies beneath
    Alignment alignment = Alignment::Left;
    std::optional<Font> font;
    QString toolTip;
    int tabIndex = 0;
    // Timers.
    int interval = 0; // milliseconds
    bool enabled = true;
    // Sockets: TCP, local port 0.
    QString remoteHost;
    std::uint16_t remotePort = 0;
    // Picture boxes and buttons: a resource path of an image asset.
    QString picture;
};

struct MenuItem {
    QString name;
    QString caption;
};

struct Menu {
    QString name;
    QString caption;
    std::vector<MenuItem> items;
};

struct Form {
    QString name;
    QString caption;
    QString picture; // background picture, drawn at the client origin
    QString icon;    // empty: none
    int left = 0;    // design-time client area, twips
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<Control> controls;
    std::vector<Menu> menus;

    const Control* find(const QString& controlName) const;
};

// One row of the probe table: the socket and the indicator it feeds, in the
// fixed order update, login, character select, channel 1, 2, 3.
struct ProbeRow {
    QString socket;
    QString indicator;
    QString server; // the server's display name, e.g. "Login"
};

// How indicators read. "%1" stands for the row's server name.
struct IndicatorTexts {
    QString up;
    QString down;
};

// The web sites opened by the link buttons and the search (http scheme).
struct Sites {
    QString officialSite;
    QString searchHost;
    QString fanSiteHost;
    QString wikiHost;
    QString clanHost;
    QString communityHost;
};

// Everything that makes one program: its two windows and the data its
// behaviour reads. Tallowbar and Brambleview differ only here.
struct Program {
    QString name;
    QString fileVersion;
    Form form1;
    Form form2;
    std::vector<ProbeRow> probes;
    IndicatorTexts indicators;
    QString fixedTrayTip; // empty: the tip is the rebuilt indicator summary
    Sites sites;
};

} // namespace forms
