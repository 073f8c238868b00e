// The system's runtime error: a number, a source and a description, as the
// program's own error reporting shows them. Handlers that do not catch one
// end the program with its message.
#pragma once

#include "runtime/errornumber.h"

#include <QString>

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace vell {

class RuntimeError : public std::runtime_error {
public:
    // One of the runtime's numbers, with its standard description or, where
    // the raiser knows more (which resource, which file), its own.
    RuntimeError(ErrorNumber number, QString source);
    RuntimeError(ErrorNumber number, QString source, QString description);
    // A number a control defines for itself.
    RuntimeError(int number, QString source, QString description);

    int number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }

    using enum ErrorNumber; // RuntimeError::Overflow and the rest

    // Errors the language runtime itself raises; their source is the program.
    static RuntimeError overflow();
    static RuntimeError subscriptOutOfRange();

    // The running program's file name without extension, or "" before startup.
    static QString programName();

    // The same error raised again under another source.
    RuntimeError withSource(QString source) const;

private:
    int number_;
    QString source_;
    QString description_;
};

// A 32-bit signed result of wider arithmetic, as the runtime's Long holds
// it: Overflow when it does not fit.
inline std::int32_t checkedLong(std::int64_t v) {
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError::overflow();
    return static_cast<std::int32_t>(v);
}

} // namespace vell
