// The runtime error numbers the programs and their tools raise, and the
// description the runtime shows for each when the raiser has nothing more
// specific to say.
#pragma once

namespace vell {

// Unscoped on purpose: a number compares and prints as the int it is.
enum ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    InternalError = 51,
    BadFileNameOrNumber = 52,
    FileNotFound = 53,
    DeviceIOError = 57,
    DiskFull = 61,
    InputPastEndOfFile = 62,
    TooManyFiles = 67,
    PermissionDenied = 70,
    PathFileAccessError = 75,
    PathNotFound = 76,
    ResourceNotFound = 326,
    InvalidPicture = 481,
    // cDIBSectionRegion's own.
    NoRegionToSave = 26010,
    RegionSizeUnknown = 26011,
    RegionDataUnavailable = 26012,
    ModuleNotOpened = 26013,
    RegionResourceNotFound = 26014,
    // Winsock's own.
    InvalidOperation = 40020,
};

// The standard description of number.
const char* standardDescription(ErrorNumber number);

} // namespace vell
