#include "runtime/errornumber.h"

namespace vell {
namespace {

struct Entry {
    ErrorNumber number;
    const char* description;
};

constexpr Entry Table[] = {
    {InvalidProcedureCall, "Invalid procedure call or argument"},
    {Overflow, "Overflow"},
    {OutOfMemory, "Out of memory"},
    {SubscriptOutOfRange, "Subscript out of range"},
    {InternalError, "Internal error"},
    {BadFileNameOrNumber, "Bad file name or number"},
    {FileNotFound, "File not found"},
    {DeviceIOError, "Device I/O error"},
    {DiskFull, "Disk full"},
    {InputPastEndOfFile, "Input past end of file"},
    {TooManyFiles, "Too many files"},
    {PermissionDenied, "Permission denied"},
    {PathFileAccessError, "Path/File access error"},
    {PathNotFound, "Path not found"},
    {ResourceNotFound, "Resource not found"},
    {InvalidPicture, "Invalid picture"},
    {NoRegionToSave, "No region to save"},
    {RegionSizeUnknown, "Unable to determine size of region"},
    {RegionDataUnavailable, "Unable to get region data"},
    {ModuleNotOpened, "Can't open DLL for Resource Access"},
    {RegionResourceNotFound, "Resource could not be found"},
    {InvalidOperation, "Invalid operation at current state"},
};

} // namespace

const char* standardDescription(ErrorNumber number) {
    for (const Entry& e : Table)
        if (e.number == number)
            return e.description;
    return "Application-defined or object-defined error";
}

} // namespace vell
