#include "monitor/startatlogin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace monitor {

StartAtLogin::StartAtLogin(QString folder, QString fileName, QByteArray entry, QString binary)
    : folder_(std::move(folder)), fileName_(std::move(fileName)), entry_(std::move(entry)),
      binary_(std::move(binary)) {}

QString StartAtLogin::userFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath("autostart");
}

QString StartAtLogin::path() const {
    return QDir(folder_).filePath(fileName_);
}

bool StartAtLogin::present() const {
    return QFileInfo(path()).isFile();
}

QString execArgument(const QString& binary) {
    // Quoted where a character is reserved, escaping what stays special
    // inside quotes; then the key's own escapes: backslashes doubled, and
    // a percent sign written twice, as field codes would take it.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString arg = binary;
    if (std::any_of(arg.begin(), arg.end(), [](QChar c) { return reserved.contains(c); })) {
        QString quoted;
        for (QChar c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                quoted += '\\';
            quoted += c;
        }
        arg = '"' + quoted + '"';
    }
    arg.replace('\\', QStringLiteral("\\\\"));
    arg.replace('%', QStringLiteral("%%"));
    return arg;
}

QByteArray StartAtLogin::content() const {
    QByteArrayList lines = entry_.split('\n');
    for (QByteArray& line : lines)
        if (line.startsWith("Exec="))
            line = "Exec=" + execArgument(binary_).toUtf8();
    return lines.join('\n');
}

QString StartAtLogin::enable() const {
    if (entry_.isEmpty())
        return QString("the program's desktop entry is missing from the program");
    if (!QDir().mkpath(folder_))
        return QString("cannot make the folder %1").arg(folder_);
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly) || file.write(content()) != content().size() ||
        !file.commit())
        return QString("cannot write %1: %2").arg(path(), file.errorString());
    return {};
}

QString StartAtLogin::disable() const {
    QFile file(path());
    if (file.exists() && !file.remove())
        return QString("cannot remove %1: %2").arg(path(), file.errorString());
    return {};
}

} // namespace monitor
