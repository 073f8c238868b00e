#include "graphics/ownresource.h"

#include "runtime/runtimeerror.h"

#include <QFile>

namespace vell {

QString ownResourcePath(const QString& idText) {
    return ":/resources/10/" + idText;
}

QByteArray loadOwnResource(const QString& idText) {
    QFile file(ownResourcePath(idText));
    if (idText.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw RuntimeError(ResourceNotFound, RuntimeError::programName(),
                           QString("Resource with identifier '%1' not found").arg(idText));
    return file.readAll();
}

} // namespace vell
