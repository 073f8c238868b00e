#include "tools/realm/gamestartsite.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace realm {
namespace {

constexpr qsizetype MaxRequest = 8192; // a request line and headers, no body

QByteArray response(const QByteArray& status, const QByteArray& body) {
    return "HTTP/1.0 " + status +
           "\r\nContent-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\n"
           "Connection: close\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

} // namespace

GameStartSite::GameStartSite(QObject* parent)
    : QObject(parent), server_(new QTcpServer(this)), page_(gameStartPage()) {
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* c = server_->nextPendingConnection())
            serve(c);
    });
}

bool GameStartSite::listen(const QHostAddress& address, quint16 port, QString* error) {
    if (server_->listen(address, port))
        return true;
    if (error)
        *error = QString("cannot serve the game-start page on %1:%2: %3")
                     .arg(address.toString())
                     .arg(port)
                     .arg(server_->errorString());
    return false;
}

QString GameStartSite::url() const {
    const quint16 port = server_->serverPort();
    return "http://" + server_->serverAddress().toString() +
           (port == 80 ? QString() : QString(":%1").arg(port)) + Path;
}

void GameStartSite::serve(QTcpSocket* client) {
    auto seen = std::make_shared<QByteArray>(); // the request so far
    connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    connect(client, &QTcpSocket::readyRead, client, [this, client, seen] {
        *seen += client->read(MaxRequest - seen->size() + 1);
        if (seen->size() > MaxRequest) {
            client->write(response("431 Request Header Fields Too Large", {}));
            client->disconnectFromHost();
            return;
        }
        if (!seen->contains("\r\n\r\n"))
            return;
        const QList<QByteArray> line = seen->left(seen->indexOf("\r\n")).split(' ');
        const bool get = line.size() == 3 && line[0] == "GET";
        client->write(get ? answer(line[1]) : response("404 Not Found", "<h1>Not here</h1>"));
        client->disconnectFromHost();
        seen->clear();
    });
}

QByteArray GameStartSite::answer(const QByteArray& path) {
    if (path == Path || path.startsWith(QByteArray(Path) + "?")) {
        ++pageRequests_;
        emit pageServed();
        return response("200 OK", page_);
    }
    if (redirects_.contains(path)) {
        emit redirected(path);
        return "HTTP/1.0 302 Found\r\nLocation: " + redirects_[path] +
               "\r\nCache-Control: no-store\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    }
    return response("404 Not Found", "<h1>Not here</h1>");
}

void GameStartSite::addRedirect(const QByteArray& path, const QByteArray& location) {
    redirects_[path] = location;
}

void GameStartSite::aim(forms::Program& program) const {
    if (!program.page.browser.isEmpty())
        program.page.url = url();
}

QByteArray gameStartPage() {
    return R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Vellmoor - Update Log</title>
<style>
body { margin: 0; background: #1d140c; color: #f3e2bf; font: 11px/1.3 serif; }
header { background: linear-gradient(#6b3f17, #3b220c); padding: 8px 10px; border-bottom: 2px solid #c89b4a; }
h1 { margin: 0; font-size: 14px; color: #ffd98a; letter-spacing: 1px; }
h2 { margin: 8px 10px 2px; font-size: 12px; color: #ffcf6e; }
ul { margin: 0 10px 6px 28px; padding: 0; }
.live { color: #7be07b; font-weight: bold; }
</style></head>
<body><header><h1>Vellmoor &mdash; Game Start</h1>
<div>Realm status: <span class="live">open</span></div></header>
<h2>Update 2.14 &ldquo;Bramble Tide&rdquo;</h2>
<ul><li>Channel 3 returns after maintenance.</li>
<li>Marrowdell keep: siege timers shortened.</li>
<li>Fixed the login queue counting down twice.</li></ul>
<h2>Update 2.13</h2>
<ul><li>New vendor in Tallow Hollow.</li><li>Character select loads faster.</li></ul>
</body></html>
)";
}

} // namespace realm
