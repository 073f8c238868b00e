// A private X display for end-to-end tests and the desktop benchmark: Xvfb
// with a window manager and, on request, a tray host, started by the shell
// library every script uses (tools/lib/private-session.sh) and torn down with
// the test. Also drives the desktop the way a user would, through xdotool, and
// takes screenshots.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace e2e {

class XSession {
public:
    struct Options {
        bool windowManager = true;
        bool trayHost = false;
        // A private session bus (DBUS_SESSION_BUS_ADDRESS of the programs
        // started here); accessibility adds the enabled accessibility bus.
        bool sessionBus = false;
        bool accessibility = false;
        QSize screen{1024, 768};
    };
    explicit XSession(Options options);
    XSession() : XSession(Options{}) {}
    ~XSession();

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    QString display() const { return display_; }
    QString sessionBus() const { return sessionBus_; }
    QProcessEnvironment environment() const;

    // Starts a program on this display; it is killed when the session ends.
    QProcess* start(const QString& program, const QStringList& args = {},
                    const QProcessEnvironment& extra = {});

    // Runs a helper (xdotool, xwininfo...) to its end and returns its output.
    QString run(const QString& program, const QStringList& args, int* exitCode = nullptr) const;

    // The first visible window of a process (with that title, if given),
    // waiting up to ms.
    QString waitForWindow(qint64 pid, const QString& title = {}, int ms = 10000) const;
    QRect geometry(const QString& window) const; // absolute, inside any frame
    QImage screenshot() const;
    // Where the tray host shows the icon of a program (its window class); empty if not shown.
    QRect trayIcon(const QString& windowClass) const;
    // _NET_WM_WINDOW_TYPE of each visible window of a class, e.g. to spot a tooltip.
    QStringList visibleWindowTypes(const QString& windowClass) const;
    QSize screenSize() const { return screenSize_; }
    // The process id of this session's own X server.
    qint64 serverPid() const { return serverPid_; }

    static constexpr QRgb DesktopColour = 0xFF3A6EA5;
    static constexpr const char* DesktopColourName = "#3a6ea5";

private:
    QSize screenSize_;
    QString display_;
    QString sessionBus_;
    qint64 serverPid_ = -1;
    QString error_;
    std::unique_ptr<QProcess> desktop_; // the shell holding the desktop
    std::vector<std::unique_ptr<QProcess>> processes_;
};

// True when the pixel reads as the indicator colour: text is antialiased, so
// look for clearly green or clearly red pixels.
bool isGreen(QRgb c);
bool isRed(QRgb c);
int countPixels(const QImage& image, const QRect& area, bool (*pred)(QRgb));

} // namespace e2e
