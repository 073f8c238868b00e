// A tiny HTTP/1.0 server on a loopback address for the web view's tests:
// each path answers with what the test set, and every request line is kept,
// so a test can tell whether the view asked a site for anything.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QObject>
#include <QStringList>

class QTcpServer;

namespace webengine_test {

class PageServer : public QObject {
public:
    explicit PageServer(const QHostAddress& address);
    bool listening() const;
    // http://address:port + path
    QString url(const QString& path) const;
    void page(const QByteArray& path, const QByteArray& html);
    void redirect(const QByteArray& path, const QString& location);
    // Served as a file to save, not to show.
    void attachment(const QByteArray& path, const QByteArray& body);

    QStringList requests; // "GET /path", in order

private:
    QTcpServer* server_;
    QMap<QByteArray, QByteArray> responses_; // path -> whole response
};

} // namespace webengine_test
