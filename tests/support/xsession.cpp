#include "support/xsession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

namespace e2e {
namespace {

void pause(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

} // namespace

XSession::XSession(Options options) : screenSize_(options.screen) {
    const QString size =
        QString("%1x%2x24").arg(options.screen.width()).arg(options.screen.height());
    // Xvfb takes a free display number itself and writes it out once it
    // listens there (-displayfd): no race with another server for a number,
    // and never a display that someone else already has.
    QProcess* server = start("Xvfb", {"-displayfd", "1", "-screen", "0", size, "-nolisten", "tcp"});
    QDeadlineTimer deadline(10000);
    QString said; // its warnings, and the number on a line of its own
    static const QRegularExpression numberLine("^(\\d+)$", QRegularExpression::MultilineOption);
    QRegularExpressionMatch number;
    while (!(number = numberLine.match(said)).hasMatch() && server->state() == QProcess::Running &&
           !deadline.hasExpired()) {
        server->waitForReadyRead(100);
        said += QString::fromLocal8Bit(server->readAll());
    }
    if (!number.hasMatch()) {
        error_ = "Xvfb did not start (is the xvfb package installed?): " + said.trimmed();
        return;
    }
    display_ = ":" + number.captured(1);
    int status = -1;
    while (!deadline.hasExpired() &&
           (run("xprop", {"-root", "_NET_SUPPORTED"}, &status), status != 0))
        pause(50);
    if (status != 0) {
        error_ = "Xvfb did not start (are the xvfb and x11-utils packages installed?)";
        return;
    }
    if (options.windowManager && !startWindowManager()) {
        error_ = "openbox did not take over the display";
        return;
    }
    // A desktop colour that no skin pixel has: where the window is cut away,
    // the screenshot shows it.
    run("xsetroot", {"-solid", DesktopColourName});
    if (options.trayHost) {
        start("trayer", {"--edge", "bottom", "--align", "left", "--widthtype", "pixel", "--width",
                         "120", "--height", "24", "--SetDockType", "true", "--transparent", "false",
                         "--tint", "0x303030"});
        while (!deadline.hasExpired() &&
               run("xdotool", {"search", "--class", "trayer"}).trimmed().isEmpty())
            pause(50);
    }
}

bool XSession::startWindowManager() {
    // Now and then a freshly started openbox sits idle without ever claiming
    // the display; a second start gets on with it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess* wm = start("openbox", {"--sm-disable"});
        QDeadlineTimer ready(4000);
        while (!ready.hasExpired()) {
            // openbox is ready once it owns the window-manager selection.
            if (run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"))
                return true;
            pause(50);
        }
        wm->kill();
        wm->waitForFinished(3000);
    }
    return false;
}

XSession::~XSession() {
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        QProcess& p = **it;
        if (p.state() == QProcess::NotRunning)
            continue;
        p.terminate();
        if (!p.waitForFinished(3000)) {
            p.kill();
            p.waitForFinished(3000);
        }
    }
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    return env;
}

QProcess* XSession::start(const QString& program, const QStringList& args,
                          const QProcessEnvironment& extra) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = environment();
    for (const QString& key : extra.keys())
        env.insert(key, extra.value(key));
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(program, args);
    if (!p->waitForStarted(5000) && error_.isEmpty())
        error_ = QString("cannot start %1: %2").arg(program, p->errorString());
    processes_.push_back(std::move(p));
    return processes_.back().get();
}

QString XSession::run(const QString& program, const QStringList& args, int* exitCode) const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    p.waitForFinished(10000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

QString XSession::waitForWindow(qint64 pid, const QString& title, int ms) const {
    QDeadlineTimer deadline(ms);
    QStringList args{"search", "--onlyvisible", "--pid", QString::number(pid)};
    if (!title.isEmpty())
        args << "--all"
             << "--name"
             << "^" + title + "$";
    do {
        const QStringList ids = run("xdotool", args).split('\n', Qt::SkipEmptyParts);
        if (!ids.isEmpty())
            return ids.front().trimmed();
        pause(100);
    } while (!deadline.hasExpired());
    return {};
}

QRect XSession::geometry(const QString& window) const {
    const QString info = run("xwininfo", {"-id", window});
    auto field = [&](const char* label) {
        const QRegularExpression re(QString("%1:\\s+(-?\\d+)").arg(label));
        return re.match(info).captured(1).toInt();
    };
    return {field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
            field("Height")};
}

QRect XSession::trayIcon(const QString& windowClass) const {
    // The icon is a child of the tray host's panel, at the screen's bottom.
    const QRegularExpression re(
        QString(
            "\\(\"%1\" \"[^\"]*\"\\)\\s+(\\d+)x(\\d+)\\+-?\\d+\\+-?\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)")
            .arg(windowClass));
    const QString tree = run("xwininfo", {"-root", "-tree"});
    for (auto it = re.globalMatch(tree); it.hasNext();) {
        const auto m = it.next();
        const QRect r(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(),
                      m.captured(2).toInt());
        if (r.width() <= 32 && r.height() <= 32 && r.top() >= screenSize_.height() - 32)
            return r;
    }
    return {};
}

QStringList XSession::visibleWindowTypes(const QString& windowClass) const {
    QStringList types;
    const QStringList ids = run("xdotool", {"search", "--onlyvisible", "--class", windowClass})
                                .split('\n', Qt::SkipEmptyParts);
    for (const QString& id : ids)
        types << run("xprop", {"-id", id.trimmed(), "_NET_WM_WINDOW_TYPE"}).trimmed();
    return types;
}

QImage XSession::screenshot() const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start("import", {"-window", "root", "png:-"});
    p.waitForFinished(15000);
    return QImage::fromData(p.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

bool isGreen(QRgb c) {
    return qGreen(c) > 150 && qRed(c) < 110 && qBlue(c) < 110;
}
bool isRed(QRgb c) {
    return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90;
}

int countPixels(const QImage& image, const QRect& area, bool (*pred)(QRgb)) {
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += pred(image.pixel(x, y)) ? 1 : 0;
    return n;
}

} // namespace e2e
