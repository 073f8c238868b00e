// cDIBSectionRegion's region data members: saving the region, and making it
// from a file or a resource.
#include "graphics/dibsectionregion.h"

#include "graphics/countwords.h"
#include "graphics/formats/regiondata.h"
#include "graphics/modulefile.h"
#include "graphics/ownresource.h"
#include "graphics/platform/posix/userlanguage.h"
#include "graphics/regionfile.h"

#include <cmath>

namespace vell {
namespace {

QString source() {
    return RuntimeError::programName() + ".cDIBSectionRegion";
}

[[noreturn]] void raise(ErrorNumber number) {
    throw RuntimeError(number, source());
}

[[noreturn]] void raise(ErrorNumber number, const QString& description) {
    throw RuntimeError(number, source(), description);
}

// A byte array cannot hold nothing, nor more than any region data can be.
void checkHoldable(std::uint64_t size) {
    if (size == 0)
        raise(SubscriptOutOfRange);
    if (size > gdi::MaxRegionDataSize)
        raise(OutOfMemory,
              QString("Resource too large for region data: %1 bytes, at most %2 "
                      "(%3 rectangles)")
                  .arg(grouped(std::int64_t(size)), grouped(std::int64_t(gdi::MaxRegionDataSize)),
                       grouped(gdi::MaxRegionRects)));
}

struct ResourceId {
    QString text;   // as messages show it
    QString digits; // the decimal digits of a numeric ID, else empty
};

// A number, or a text of decimal digits (blanks and a sign allowed around),
// is numeric; 101 and "101" and "0101" all give the digits 101.
ResourceId resourceId(const QVariant& vID) {
    if (vID.typeId() == QMetaType::QString || vID.typeId() == QMetaType::QByteArray) {
        const QString text = vID.toString();
        const QString t = text.trimmed();
        const qsizetype start = t.startsWith('+') || t.startsWith('-') ? 1 : 0;
        bool digits = t.size() > start;
        for (qsizetype i = start; i < t.size() && digits; ++i)
            digits = t[i] >= '0' && t[i] <= '9';
        bool ok = false;
        const qlonglong v = digits ? t.toLongLong(&ok) : 0;
        return {text, ok ? QString::number(v) : QString()};
    }
    if (vID.typeId() == QMetaType::Double || vID.typeId() == QMetaType::Float) {
        const double d = vID.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15) {
            const QString n = QString::number(qlonglong(d));
            return {n, n};
        }
        return {QString::number(d), QString()};
    }
    bool ok = false;
    const qlonglong v = vID.toLongLong(&ok);
    if (ok)
        return {QString::number(v), QString::number(v)};
    return {vID.toString(), QString()};
}

} // namespace

bool cDIBSectionRegion::Save(const QString& sPath) const {
    if (RegionHandle == 0)
        raise(NoRegionToSave);
    const std::uint32_t size = gdi_.GetRegionData(RegionHandle, 0, nullptr);
    if (size == 0)
        raise(RegionSizeUnknown);
    // What is written must load again: loading takes no more rectangles.
    if (size > gdi::MaxRegionDataSize)
        raise(
            RegionSizeUnknown,
            QString("Region too large to save: %1 rectangles, region data hold at most %2")
                .arg(grouped((size - gdi::RgnDataHeaderSize) / 16), grouped(gdi::MaxRegionRects)));
    QByteArray buffer(qsizetype(size), '\0');
    if (gdi_.GetRegionData(RegionHandle, size, buffer.data()) != size)
        raise(RegionDataUnavailable);
    try {
        writeRegionFile(sPath, buffer);
    } catch (const RuntimeError& e) {
        throw e.withSource(source());
    }
    return true;
}

bool cDIBSectionRegion::LoadFromFile(const QString& sFileName) {
    QByteArray bytes;
    try {
        bytes = readRegionFile(sFileName, gdi::MaxRegionDataSize);
    } catch (const RuntimeError& e) {
        throw e.withSource(source());
    }
    return RegionFromBytes(bytes);
}

bool cDIBSectionRegion::LoadFromResource(const QVariant& vID, const QString& sDLL) {
    const ResourceId id = resourceId(vID);
    if (sDLL.isEmpty()) {
        const QByteArray bytes = loadOwnResource(id.digits.isEmpty() ? id.text : id.digits);
        checkHoldable(std::uint64_t(bytes.size()));
        return RegionFromBytes(bytes);
    }
    // The module stays open until this member returns, whichever way.
    QString why;
    const std::unique_ptr<ModuleFile> module = ModuleFile::open(sDLL, &why);
    if (!module) // the standard words, and which way the open failed
        raise(ModuleNotOpened, QString(standardDescription(ModuleNotOpened)) + ": " + why);
    const auto entry = module->resources().find(id.digits.isEmpty() ? id.text : "#" + id.digits,
                                                posix::userLanguageId());
    if (!entry)
        raise(RegionResourceNotFound, "Resource with ID " + id.text + " could not be found");
    if (entry->size == 0)
        checkHoldable(0);
    if (!module->resources().holds(*entry))
        raise(RegionResourceNotFound, "Cannot access data for resource with ID " + id.text);
    checkHoldable(entry->size);
    const auto bytes = module->resources().load(*entry);
    if (!bytes) // the file changed under us
        raise(RegionResourceNotFound, "Cannot access data for resource with ID " + id.text);
    return RegionFromBytes(*bytes);
}

bool cDIBSectionRegion::RegionFromBytes(const QByteArray& bytes) {
    Destroy();
    RegionHandle = gdi_.ExtCreateRegion(nullptr, std::uint32_t(bytes.size()), bytes.constData());
    return RegionHandle != 0;
}

} // namespace vell
