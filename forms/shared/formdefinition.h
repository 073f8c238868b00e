// The window definition model: a window is a form of named controls whose
// design-time properties are fixed at build time. A generic form builder
// (monitor/) turns a definition into live widgets; nothing here knows Qt Widgets.
#pragma once

#include "forms/shared/servers.h"

#include <QPoint>
#include <QRect>
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

// Twips per pixel at 96 dots per inch, the resolution the layouts are drawn at.
inline constexpr double DesignTwipsPerPixel = 15.0;

// Twips to whole pixels and back, rounded to the nearest.
int twipsToPixels(int twips, double perPixel = DesignTwipsPerPixel);
int pixelsToTwips(int pixels, double perPixel = DesignTwipsPerPixel);

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

    // Where the control lies in pixels at twipsPerPixel, and the point a
    // click aims at (its rectangle's centre, rounded down).
    QRect pixelRect(double twipsPerPixel = DesignTwipsPerPixel) const;
    QPoint centre(double twipsPerPixel = DesignTwipsPerPixel) const;
};

struct MenuItem {
    QString name;
    QString caption;
    bool checkable = false; // an option that stays ticked while on
};

struct Menu {
    QString name;
    QString caption;
    std::vector<MenuItem> items;
};

// A window. Its background picture is the one its PicBackground control
// holds: one picture gives the window its size, its shape and its face.
struct Form {
    QString name;
    QString caption;
    QString icon;                       // empty: none
    Font font{"MS Sans Serif", 8, 400}; // what controls without a font of their own use
    int left = 0;                       // design-time client area, twips
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<Control> controls;
    std::vector<Menu> menus;

    const Control* find(const QString& controlName) const;
    // As find, but a definition that lacks the control is a build error.
    const Control& get(const QString& controlName) const;
};

// How indicators read in each state. "%1" stands for the server's name.
struct IndicatorTexts {
    QString up;
    QString down;
};

// An embedded web page: the browser control that shows it and its address.
// It starts parked at the control's own left, outside the window's shape, and
// its toggle moves it to shownLeft: pixels, the unit the browser's left edge
// is read and set in.
struct EmbeddedPage {
    QString browser; // empty: the program has none
    QString url;
    int shownLeft = 0;
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

// A link button and the page it opens (its caption is the button's own).
struct Link {
    QString control;
    QString url;
};

// The controls the main window's behaviour reaches, by what they do.
struct Roles {
    QString refresh;        // a probe pass now
    QString search;         // the site search of the search box's text
    QString searchBox;      // the search text; shows its prompt until clicked
    QString hide;           // hides the window (to the tray)
    QString close;          // ends the program
    QString logToggle;      // shows or parks the embedded page
    QString countdown;      // the label counting the minutes to the next pass
    QString countdownTimer; // its one-minute tick
    QString picture;        // the window's face, size and shape
    QString exitItem;       // the hidden window's menu item that ends the program
    QString notifyItem;     // its option: a notification when a server changes
    QString startItem;      // its option: start when the user logs in
};

// Everything that makes one program: its two windows and the data its
// behaviour reads. Tallowbar and Brambleview differ only here.
struct Program {
    QString name;        // the application's name
    QString fileVersion; // e.g. "2.00.0002"
    Form form1;
    Form form2;
    Roles roles;
    std::vector<Server> probes; // probe-table order
    IndicatorTexts indicators;
    // A timed pass every countdownTicks + 1 ticks of the countdown timer; the
    // countdown shows the ticks left.
    int countdownTicks = 0;
    // The tray tip: a fixed title, or (empty) the indicator summary that the
    // timer named by summaryTimer rebuilds after each pass and tick.
    QString trayTitle;
    QString summaryTimer;
    EmbeddedPage page;
    Sites sites;
    std::vector<Link> links;
    // The installed desktop entry's content, as a resource path: what the
    // autostart entry copies.
    QString desktopEntry;
};

} // namespace forms
