// The ICO and CUR readers on any bytes that start as an icon does: our own,
// and Qt's where ours refuses and the image is whole.
#include "picturecheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || data[0] != 0 || data[1] != 0 || (data[2] != 1 && data[2] != 2) || data[3] != 0)
        return 0;
    return checkPictureBytes(data, size);
}
