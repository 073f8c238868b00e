// The program's entry in the user's XDG autostart folder: the installed
// desktop entry's content with its Exec pointing at the running binary.
#pragma once

#include <QByteArray>
#include <QString>

namespace monitor {

class StartAtLogin {
public:
    // folder: the autostart folder; fileName: the entry's, e.g.
    // "tallowbar.desktop"; entry: the installed entry's content.
    StartAtLogin(QString folder, QString fileName, QByteArray entry, QString binary);

    // The folder under the user's config folder ($XDG_CONFIG_HOME).
    static QString userFolder();

    bool present() const; // read from the folder each time
    // Each returns an empty string when done, else what went wrong, in words.
    QString enable() const;
    QString disable() const;

    QString path() const;
    // The entry as written: every Exec line runs binary.
    QByteArray content() const;

private:
    QString folder_;
    QString fileName_;
    QByteArray entry_;
    QString binary_;
};

// binary as one argument of a desktop entry's Exec key.
QString execArgument(const QString& binary);

} // namespace monitor
