#include "runtime/runtimeerror.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vell {

RuntimeError::RuntimeError(int number, QString source, QString description)
    : std::runtime_error(
          QString("Run-time error '%1': %2").arg(number).arg(description).toStdString()),
      number_(number), source_(std::move(source)), description_(std::move(description)) {}

RuntimeError RuntimeError::overflow() {
    return {Overflow, programName(), "Overflow"};
}

RuntimeError RuntimeError::subscriptOutOfRange() {
    return {SubscriptOutOfRange, programName(), "Subscript out of range"};
}

QString RuntimeError::programName() {
    const QStringList args = QCoreApplication::arguments();
    return args.isEmpty() ? QString() : QFileInfo(args.front()).completeBaseName();
}

} // namespace vell
