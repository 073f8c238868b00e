#include "monitor/application.h"

#include "runtime/runtimeerror.h"

#include <QMessageBox>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace monitor {
namespace {

int signalPipe[2] = {-1, -1}; // written by the handler, read on the UI thread

extern "C" void onEndSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1); // async-signal-safe
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application::~Application() {
    if (!signalled_)
        return;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        std::signal(sig, SIG_DFL);
    signalled_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void Application::endOnSignals(std::function<void()> end) {
    end_ = std::move(end);
    if (signalled_ ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    signalled_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    connect(signalled_.get(), &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (::read(signalPipe[0], drained, sizeof drained) > 0) {
        }
        if (end_)
            end_();
    });
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const vell::RuntimeError& e) {
        unhandled(e.number(), e.source(), e.description());
    } catch (const std::exception& e) {
        unhandled(vell::InternalError, vell::RuntimeError::programName(),
                  QString::fromLocal8Bit(e.what()));
    }
    return true;
}

void Application::unhandled(int number, const QString& source, const QString& description) {
    const QString text =
        QString("Run-time error '%1':\n\n%2\n\n(%3)").arg(number).arg(description, source);
    std::fprintf(stderr, "%s: run-time error %d, %s: %s\n",
                 qPrintable(vell::RuntimeError::programName()), number, qPrintable(source),
                 qPrintable(description));
    if (errorBox_)
        errorBox_(applicationDisplayName(), text);
    else
        QMessageBox::critical(nullptr, applicationDisplayName(), text, QMessageBox::Ok);
    exit(UnhandledErrorStatus);
}

} // namespace monitor
