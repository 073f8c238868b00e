// The BMP readers on any bytes that start as a BMP does: our own, and Qt's
// where ours refuses and the data are whole.
#include "picturecheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Bytes that do not start "BM" would go to another reader.
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return 0;
    return checkPictureBytes(data, size);
}
