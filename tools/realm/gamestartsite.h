// The official site's game-start page, served over HTTP on loopback so the
// panel's embedded browser shows a real page in the demo and in tests. It
// answers GET of the page's path and of its redirects, and says 404 to
// anything else.
#pragma once

#include "forms/shared/formdefinition.h"

#include <QHostAddress>
#include <QMap>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace realm {

class GameStartSite : public QObject {
    Q_OBJECT
public:
    static constexpr auto Path = "/gamestart/gamestart.asp";

    explicit GameStartSite(QObject* parent = nullptr);
    // Returns false and sets *error when the address cannot be taken.
    bool listen(const QHostAddress& address, quint16 port, QString* error = nullptr);
    QString url() const; // http://address[:port]/gamestart/gamestart.asp
    int pageRequests() const { return pageRequests_; }
    // Points a program's embedded page here (programs without one are left as they are).
    void aim(forms::Program& program) const;
    // What the page's path serves (gameStartPage() unless set).
    void setPage(const QByteArray& html) { page_ = html; }
    // Another path of the site that sends the browser to location.
    void addRedirect(const QByteArray& path, const QByteArray& location);

signals:
    void pageServed();
    void redirected(const QByteArray& path);

private:
    void serve(QTcpSocket* client);

    QByteArray answer(const QByteArray& path);

    QTcpServer* server_;
    int pageRequests_ = 0;
    QByteArray page_;
    QMap<QByteArray, QByteArray> redirects_; // path -> location
};

// The page itself: an update log in the game's colours.
QByteArray gameStartPage();

} // namespace realm
