#include "monitor/platform/dbus/singleinstance.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QEventLoop>
#include <QRegularExpression>

#include <cstdio>

namespace monitor::dbus {
namespace {

// A bus name element: letters, digits and '_' only, at most a few dozen.
QString element(const QString& text) {
    QString out;
    for (const QChar c : text)
        out += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QChar('_');
    return out.left(64);
}

} // namespace

QString busName(const QString& program, const QString& display) {
    // ":0.0" and ":0" are one server and so one place: the screen goes.
    static const QRegularExpression screen(R"(^(.*:\d+)\.\d+$)");
    const QRegularExpressionMatch m = screen.match(display);
    const QString server = m.hasMatch() ? m.captured(1) : display;
    // "display" first: an element may not start with a digit.
    return "example.marrowdell." + element(program) + ".display" + element(server);
}

QString objectPath(const QString& program) {
    return "/example/marrowdell/" + element(program);
}

SingleInstance::SingleInstance(const QString& program, const QString& display, int answerWaitMs)
    : SingleInstance(display.isEmpty() ? QDBusConnection(QString()) // no check: no bus either
                                       : QDBusConnection::sessionBus(),
                     program, display, answerWaitMs) {}

SingleInstance::SingleInstance(const QDBusConnection& bus, const QString& program,
                               const QString& display, int answerWaitMs)
    : bus_(bus), program_(program), display_(display), name_(busName(program, display)),
      path_(objectPath(program)), answerWaitMs_(answerWaitMs) {}

SingleInstance::~SingleInstance() {
    if (held_ && bus_.isConnected())
        bus_.interface()->unregisterService(name_);
    if (registered_)
        bus_.unregisterObject(path_);
}

InstanceService::Claim SingleInstance::claim() {
    if (display_.isEmpty())
        return Claim::Unchecked; // nothing a user shares: every start is its own
    if (!bus_.isConnected()) {
        const QString why = bus_.lastError().message();
        say(QString("no D-Bus session bus%1: a later start on this display will not find this "
                    "copy and will run one of its own")
                .arg(why.isEmpty() ? QString() : " (" + why + ")"));
        return Claim::Unchecked;
    }
    // Ready to answer before the name is ours: whoever finds the name finds
    // the answer too.
    registered_ = bus_.registerObject(path_, this, QDBusConnection::ExportScriptableSlots);
    QDBusConnectionInterface* daemon = bus_.interface();
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            daemon->registerService(name_, QDBusConnectionInterface::DontQueueService,
                                    QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid()) {
            say(QString("the session bus refused the name %1 (%2): a later start will not find "
                        "this copy")
                    .arg(name_, reply.error().message()));
            return Claim::Unchecked;
        }
        if (reply.value() != QDBusConnectionInterface::ServiceNotRegistered) {
            held_ = true;
            return Claim::First;
        }
        if (askRunningCopy())
            return Claim::Asked;
        if (daemon->isServiceRegistered(name_))
            break; // still there, and silent
        // It ended while asked (its loop had stopped, its connection went on
        // for a moment): the place is free again.
    }
    const QDBusReply<uint> pid = daemon->servicePid(name_);
    say(QString("%1 already runs on display %2 (%3) but does not answer; end it to start "
                "another")
            .arg(program_, display_,
                 pid.isValid() ? QString("process %1").arg(pid.value()) : name_));
    return Claim::NoAnswer;
}

bool SingleInstance::askRunningCopy() {
    const QDBusMessage call =
        QDBusMessage::createMethodCall(name_, path_, InstanceInterface, "Activate");
    // Events go on meanwhile, so a holder served by this same thread can still
    // answer; the call's own timeout ends the wait, and the watcher's news of
    // the end wakes it. (Not a nested event loop: one refuses to run once the
    // application was asked to quit.)
    const QDBusPendingCallWatcher watcher(bus_.asyncCall(call, answerWaitMs_));
    while (!watcher.isFinished())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return !watcher.isError();
}

void SingleInstance::onComeBack(std::function<void()> comeBack) {
    comeBack_ = std::move(comeBack);
    if (requested_ && comeBack_) {
        requested_ = false;
        comeBack_();
    }
}

void SingleInstance::Activate() {
    if (comeBack_)
        comeBack_();
    else
        requested_ = true;
}

void SingleInstance::say(const QString& what) const {
    std::fprintf(stderr, "%s: %s\n", qPrintable(program_.toLower()), qPrintable(what));
}

} // namespace monitor::dbus
