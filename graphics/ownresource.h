// The program's own raw-data resources (type 10), held in the Qt resource
// system: the resource with numeric ID 101 is ":/resources/10/101" (decimal
// digits, no "#"), the one named SKIN is ":/resources/10/SKIN" (names as
// they are, case included). A program adds them with qt_add_resources().
#pragma once

#include <QByteArray>
#include <QString>

namespace vell {

// ":/resources/10/" followed by the ID's decimal digits or the name.
QString ownResourcePath(const QString& idText);

// The resource's bytes; raises 326 "Resource with identifier '<ID>' not
// found", source the program, when there is none.
QByteArray loadOwnResource(const QString& idText);

} // namespace vell
