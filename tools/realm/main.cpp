// vellrealm: the game's six servers, simulated on loopback.
//
// Usage: vellrealm [--down NAMES] [--silent NAMES] [--no-site | --wayward-page]
//   NAMES is a comma-separated list of update, login, charselect, ch1, ch2, ch3.
// It also serves the official site's game-start page on port 80 of the
// official site's address, for the panel's embedded browser (--no-site: not).
// --wayward-page serves a page that tries to lead the browser off the site,
// and another site on 127.80.0.99:80 that reports whatever reaches it.
// While it runs, lines on standard input change the realm:
//   up NAME | down NAME | silent NAME | status | quit
#include "forms/shared/endpoints.h"
#include "tools/realm/gamestartsite.h"
#include "tools/realm/offsite.h"
#include "tools/realm/realm.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

void printStatus(const realm::Realm& r) {
    for (const auto& e : r.endpoints())
        std::printf("%-10s %s:%u %s\n", qPrintable(e.name), qPrintable(e.address.toString()),
                    e.port, qPrintable(realm::stateName(r.state(e.name))));
    std::fflush(stdout);
}

bool applyList(realm::Realm& r, const QString& names, realm::State state) {
    for (const QString& n : names.split(',', Qt::SkipEmptyParts)) {
        QString error;
        if (!r.setState(n.trimmed(), state, &error)) {
            std::fprintf(stderr, "vellrealm: %s\n", qPrintable(error));
            return false;
        }
    }
    return true;
}

void handleCommand(realm::Realm& r, const QString& line) {
    const QStringList words = line.simplified().split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return;
    const QString& cmd = words.front();
    if (cmd == "quit") {
        QCoreApplication::quit();
    } else if (cmd == "status") {
        printStatus(r);
    } else if ((cmd == "up" || cmd == "down" || cmd == "silent") && words.size() == 2) {
        const auto state = cmd == "up"     ? realm::State::Up
                           : cmd == "down" ? realm::State::Down
                                           : realm::State::Silent;
        if (applyList(r, words[1], state)) {
            std::printf("%s %s\n", qPrintable(words[1]), qPrintable(cmd));
            std::fflush(stdout);
        }
    } else {
        std::fprintf(stderr,
                     "vellrealm: unknown command '%s' (up|down|silent NAME, status, "
                     "quit)\n",
                     qPrintable(line.trimmed()));
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
    std::signal(SIGINT, [](int) { QCoreApplication::quit(); });
    std::signal(SIGPIPE, SIG_IGN);

    realm::Realm r(realm::defaultEndpoints());
    QString error;
    if (!r.setAll(realm::State::Up, &error)) {
        std::fprintf(stderr, "vellrealm: %s\n", qPrintable(error));
        return 1;
    }
    const QStringList args = app.arguments();
    bool site = true;
    bool wayward = false;
    for (int i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--no-site") {
            site = false;
        } else if (args[i] == "--wayward-page") {
            wayward = true;
        } else if (args[i] == "--down" && hasValue) {
            if (!applyList(r, args[++i], realm::State::Down))
                return 1;
        } else if (args[i] == "--silent" && hasValue) {
            if (!applyList(r, args[++i], realm::State::Silent))
                return 1;
        } else {
            std::fprintf(stderr, "usage: vellrealm [--down NAMES] [--silent NAMES] [--no-site | "
                                 "--wayward-page]\n");
            return 2;
        }
    }
    realm::GameStartSite gameStart;
    realm::OffSite elsewhere;
    if (site && wayward) {
        if (!elsewhere.listen(QHostAddress(realm::ElsewhereAddress), 80, &error)) {
            std::fprintf(stderr, "vellrealm: %s\n", qPrintable(error));
            return 1;
        }
        realm::leadAway(gameStart, elsewhere.origin());
        std::printf("other site: %s\n", qPrintable(elsewhere.origin()));
        QObject::connect(&elsewhere, &realm::OffSite::asked, [](const QByteArray& line) {
            std::printf("other site asked: %s\n", line.constData());
            std::fflush(stdout);
        });
        QObject::connect(&gameStart, &realm::GameStartSite::redirected, [](const QByteArray& path) {
            std::printf("game-start redirect served: %s\n", path.constData());
            std::fflush(stdout);
        });
    }
    const QHostAddress official(forms::endpoints::OfficialSite);
    if (site && official.isNull()) {
        std::fprintf(stderr,
                     "vellrealm: the official site %s is no address here: not serving "
                     "its game-start page\n",
                     forms::endpoints::OfficialSite);
    } else if (site) {
        if (!gameStart.listen(official, 80, &error)) {
            std::fprintf(stderr, "vellrealm: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("game-start page: %s\n", qPrintable(gameStart.url()));
        QObject::connect(&gameStart, &realm::GameStartSite::pageServed, [] {
            std::printf("game-start page served\n");
            std::fflush(stdout);
        });
    }
    std::printf("vellrealm: ready\n");
    printStatus(r);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[4096];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input.setEnabled(false); // standard input closed: keep serving
            return;
        }
        pending.append(buf, n);
        for (qsizetype eol; (eol = pending.indexOf('\n')) >= 0; pending.remove(0, eol + 1))
            handleCommand(r, QString::fromUtf8(pending.left(eol)));
    });
    return app.exec();
}
