#include "runtime/runtimeerror.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vell {

RuntimeError::RuntimeError(int number, QString source, QString description)
    : std::runtime_error(
          QString("Run-time error '%1': %2").arg(number).arg(description).toStdString()),
      number_(number), source_(std::move(source)), description_(std::move(description)) {}

RuntimeError::RuntimeError(ErrorNumber number, QString source)
    : RuntimeError(number, std::move(source), standardDescription(number)) {}

RuntimeError::RuntimeError(ErrorNumber number, QString source, QString description)
    : RuntimeError(int(number), std::move(source), std::move(description)) {}

RuntimeError RuntimeError::withSource(QString source) const {
    return {number_, std::move(source), description_};
}

RuntimeError RuntimeError::overflow() {
    return {Overflow, programName()};
}

RuntimeError RuntimeError::subscriptOutOfRange() {
    return {SubscriptOutOfRange, programName()};
}

QString RuntimeError::programName() {
    const QStringList args = QCoreApplication::arguments();
    return args.isEmpty() ? QString() : QFileInfo(args.front()).completeBaseName();
}

} // namespace vell
