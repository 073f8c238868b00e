// Probe pass timing on loopback: Form1's full pass (six sockets, six results)
// next to six bare QTcpSocket connects made the same way, in one run; and how
// long a silent server takes to be reported down with the shipped timeout.
#include "forms/tallowbar/tallowbar.h"
#include "monitor/controls/labelcontrol.h"
#include "monitor/controls/winsock.h"
#include "monitor/form1.h"
#include "monitor/platform/qt/qtdesktop.h"
#include "tools/realm/realm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 200;

struct Stats {
    double median, p90, min;
};

// Runs the event loop until done() holds; unlike QTest::qWaitFor it does not
// sleep between checks, so the timings carry no polling delay.
void runUntil(const std::function<bool()>& done, int ms) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(0);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[v.size() * 9 / 10], v.front()};
}

double rawPass(const realm::Realm& r) {
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    int done = 0;
    QElapsedTimer t;
    t.start();
    for (const auto& e : r.endpoints()) {
        auto s = std::make_unique<QTcpSocket>();
        QObject::connect(s.get(), &QTcpSocket::connected, [&done, p = s.get()] {
            ++done;
            p->abort();
        });
        s->connectToHost(e.address, e.port);
        sockets.push_back(std::move(s));
    }
    runUntil([&] { return done == 6; }, 5000);
    return double(t.nsecsElapsed()) / 1e3;
}

double formPass(monitor::Form1& form, int& events) {
    events = 0;
    QElapsedTimer t;
    t.start();
    form.Command1_Click();
    runUntil([&] { return events == 6; }, 5000);
    return double(t.nsecsElapsed()) / 1e3;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    realm::Realm r(realm::privateEndpoints(62));
    QString error;
    if (!r.setAll(realm::State::Up, &error)) {
        std::fprintf(stderr, "probe_bench: %s\n", qPrintable(error));
        return 1;
    }
    forms::Program program = forms::tallowbar();
    r.aim(program);
    const monitor::qt::SystemDesktop system;
    monitor::Form1 form(program, system.desktop(), {});
    int events = 0;
    for (const auto& p : form.cycle().probes())
        QObject::connect(p.socket, &monitor::Winsock::Connected, [&events] { ++events; });

    std::vector<double> raw, full;
    for (int i = 0; i < Rounds; ++i) { // interleaved, so both see the same machine
        raw.push_back(rawPass(r));
        full.push_back(formPass(form, events));
    }
    const Stats a = stats(raw), b = stats(full);
    std::printf("probe pass on loopback, %d rounds (microseconds, pass start to six results)\n",
                Rounds);
    std::printf("  bare QTcpSocket x6 : median %8.1f  p90 %8.1f  min %8.1f\n", a.median, a.p90,
                a.min);
    std::printf("  Form1 pass         : median %8.1f  p90 %8.1f  min %8.1f\n", b.median, b.p90,
                b.min);
    std::printf("  ratio Form1 / bare : %.2f (median)\n", b.median / a.median);

    // A silent server: reported down after the shipped connect timeout.
    r.setState("ch3", realm::State::Silent);
    bool down = false;
    QObject::connect(form.cycle().probes()[5].socket, &monitor::Winsock::Error,
                     [&down] { down = true; });
    QElapsedTimer t;
    t.start();
    form.Command1_Click();
    runUntil([&] { return down; }, 30000);
    std::printf("silent server reported down after %.3f s (timeout %d ms)\n",
                double(t.nsecsElapsed()) / 1e9, monitor::Winsock::DefaultConnectTimeoutMs);
    return down ? 0 : 1;
}
