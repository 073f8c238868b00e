// The game-start page turned wayward, for checking that the panel's embedded
// view keeps to its own site: the page tries every way off it (a link, a
// script, redirects, a refresh, a frame, pictures, a pop-up), to another site
// on loopback that says what it is asked, and to a named host nobody can find.
#pragma once

#include <QHostAddress>
#include <QObject>

class QTcpServer;

namespace realm {

class GameStartSite;

// Another site, elsewhere on loopback, and a host by name.
inline constexpr auto ElsewhereAddress = "127.80.0.99";
inline constexpr auto MirrorHost = "www.vellmoor-mirror.example";

// Makes site serve the wayward page and its redirects; elsewhere is the
// other site's origin, e.g. http://127.80.0.99.
void leadAway(GameStartSite& site, const QString& elsewhere);

// Answers every request with 404 and reports its request line.
class OffSite : public QObject {
    Q_OBJECT
public:
    explicit OffSite(QObject* parent = nullptr);
    bool listen(const QHostAddress& address, quint16 port, QString* error = nullptr);
    QString origin() const; // http://address[:port]

signals:
    void asked(const QByteArray& requestLine);

private:
    QTcpServer* server_;
};

} // namespace realm
