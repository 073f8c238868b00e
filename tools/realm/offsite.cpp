#include "tools/realm/offsite.h"

#include "tools/realm/gamestartsite.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace realm {

void leadAway(GameStartSite& site, const QString& elsewhere) {
    const QByteArray near = elsewhere.toLatin1();
    const QByteArray mirror = QByteArray("http://") + MirrorHost;
    site.addRedirect("/gamestart/moved.asp", near + "/gamestart/moved.asp");
    site.addRedirect("/gamestart/mirror.asp", mirror + "/gamestart/");
    // The link covers the whole page, so a click anywhere on it follows it.
    site.setPage(R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Vellmoor - Update Log</title>
<meta http-equiv="refresh" content="3;url=)" +
                 near + R"(/refresh.html">
<style>
body { margin: 0; background: #1d140c; color: #f3e2bf; font: 11px/1.3 serif; }
h1 { margin: 8px 10px; font-size: 14px; color: #ffd98a; }
#away { display: block; position: fixed; inset: 0; color: inherit; text-decoration: none; }
</style></head>
<body><h1>Vellmoor &mdash; Game Start</h1>
<p>The patch notes are on the mirror.</p>
<img src=")" + near +
                 R"(/banner.png" alt=""><img src=")" + mirror + R"(/banner.png" alt="">
<iframe src=")" + near +
                 R"(/frame.html" width="1" height="1"></iframe>
<a id="away" href=")" +
                 near + R"(/news/patch-2.14.html"></a>
<script>
const away = [
  () => window.open(")" +
                 near + R"(/popup.html"),
  () => { location.href = ")" +
                 mirror + R"(/gamestart/"; },
  () => { location.href = ")" +
                 near + R"(/gamestart/"; },
  () => { location.href = "/gamestart/moved.asp"; },
  () => { location.href = "/gamestart/mirror.asp"; },
];
away.forEach((go, i) => setTimeout(go, 300 * (i + 1)));
</script>
</body></html>
)");
}

OffSite::OffSite(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = server_->nextPendingConnection()) {
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QTcpSocket::readyRead, client, [this, client] {
                if (!client->canReadLine() && client->bytesAvailable() < 8192)
                    return;
                emit asked(client->readLine(8192).trimmed());
                client->write("HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n"
                              "Connection: close\r\n\r\n");
                client->disconnectFromHost();
            });
        }
    });
}

bool OffSite::listen(const QHostAddress& address, quint16 port, QString* error) {
    if (server_->listen(address, port))
        return true;
    if (error)
        *error = QString("cannot serve the other site on %1:%2: %3")
                     .arg(address.toString())
                     .arg(port)
                     .arg(server_->errorString());
    return false;
}

QString OffSite::origin() const {
    const quint16 port = server_->serverPort();
    return "http://" + server_->serverAddress().toString() +
           (port == 80 ? QString() : QString(":%1").arg(port));
}

} // namespace realm
