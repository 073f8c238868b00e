#include "support/xsession.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

namespace e2e {
namespace {

void pause(int ms) {
    QThread::msleep(static_cast<unsigned long>(ms));
}

} // namespace

XSession::XSession(Options options) : screenSize_(options.screen) {
    // The desktop is started the way every script starts one, by the shell
    // library; the shell holds it until its input closes (at the latest when
    // this process ends) and then ends it.
    QStringList args{"-c",
                     R"(. "$0" || exit 1
trap 'exit 1' TERM
bus=$1; shift
vell_start_desktop "$@" || exit 1
case $bus in
bus) vell_start_session_bus || exit 1 ;;
accessibility) vell_start_accessibility || exit 1 ;;
esac
echo "desktop $DISPLAY $vell_display_pid ${DBUS_SESSION_BUS_ADDRESS:-}"
while read -r _; do :; done)",
                     VELL_PRIVATE_SESSION_SH,
                     options.accessibility ? "accessibility"
                     : options.sessionBus  ? "bus"
                                           : "none",
                     "--size",
                     QString("%1x%2").arg(options.screen.width()).arg(options.screen.height()),
                     "--colour",
                     DesktopColourName};
    if (!options.windowManager)
        args << "--no-window-manager";
    if (!options.trayHost)
        args << "--no-tray";
    desktop_ = std::make_unique<QProcess>();
    QProcessEnvironment env = environment();
    env.remove("DISPLAY");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    desktop_->setProcessEnvironment(env);
    desktop_->start("bash", args);
    // Xvfb, the window manager and the tray host each get some seconds.
    QDeadlineTimer deadline(40000);
    QByteArray said;
    while (!said.contains('\n') && desktop_->state() != QProcess::NotRunning &&
           !deadline.hasExpired()) {
        desktop_->waitForReadyRead(100);
        said += desktop_->readAllStandardOutput();
    }
    static const QRegularExpression line("^desktop (:\\d+) (\\d+) ?(\\S*)\n");
    const QRegularExpressionMatch started = line.match(QString::fromLocal8Bit(said));
    if (!started.hasMatch()) {
        error_ = QString::fromLocal8Bit(desktop_->readAllStandardError()).trimmed();
        if (error_.isEmpty())
            error_ = desktop_->state() == QProcess::NotRunning
                         ? "cannot run bash for the private desktop: " + desktop_->errorString()
                         : QString("the private desktop did not start within 40 s");
        return;
    }
    display_ = started.captured(1);
    serverPid_ = started.captured(2).toLongLong();
    sessionBus_ = started.captured(3);
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
    if (desktop_->state() == QProcess::NotRunning)
        return;
    desktop_->closeWriteChannel();
    if (!desktop_->waitForFinished(10000)) {
        desktop_->terminate();
        desktop_->waitForFinished(5000);
    }
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    if (!sessionBus_.isEmpty())
        env.insert("DBUS_SESSION_BUS_ADDRESS", sessionBus_);
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
