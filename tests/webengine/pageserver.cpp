#include "pageserver.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace webengine_test {

namespace {

QByteArray response(const QByteArray& status, const QByteArray& headers, const QByteArray& body) {
    return "HTTP/1.0 " + status + "\r\n" + headers +
           "Cache-Control: no-store\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

PageServer::PageServer(const QHostAddress& address) : server_(new QTcpServer(this)) {
    server_->listen(address, 0);
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = server_->nextPendingConnection()) {
            auto seen = std::make_shared<QByteArray>();
            connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QTcpSocket::readyRead, client, [this, client, seen] {
                *seen += client->readAll();
                if (!seen->contains("\r\n\r\n"))
                    return;
                const QList<QByteArray> line = seen->left(seen->indexOf("\r\n")).split(' ');
                const QByteArray path = line.value(1);
                requests << QString::fromLatin1(line.value(0) + " " + path);
                client->write(responses_.value(
                    path, response("404 Not Found", "Content-Type: text/html\r\n", "<h1>no</h1>")));
                client->disconnectFromHost();
                seen->clear();
            });
        }
    });
}

bool PageServer::listening() const {
    return server_->isListening();
}

QString PageServer::url(const QString& path) const {
    return QString("http://%1:%2%3")
        .arg(server_->serverAddress().toString())
        .arg(server_->serverPort())
        .arg(path);
}

void PageServer::page(const QByteArray& path, const QByteArray& html) {
    responses_[path] = response("200 OK", "Content-Type: text/html; charset=utf-8\r\n", html);
}

void PageServer::redirect(const QByteArray& path, const QString& location) {
    responses_[path] = response("302 Found", "Location: " + location.toLatin1() + "\r\n", {});
}

void PageServer::attachment(const QByteArray& path, const QByteArray& body) {
    responses_[path] =
        response("200 OK",
                 "Content-Type: application/octet-stream\r\nContent-Disposition: attachment; "
                 "filename=\"patch.bin\"\r\n",
                 body);
}

} // namespace webengine_test
