// The start-up picture: device-independent bitmap files of 1 to 24 bits per pixel.
#include "core/Bitmap.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zor::ParseBitmapFile(zor::fuzz::AsView(data, size));
    return 0;
}
