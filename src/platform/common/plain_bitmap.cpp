// The bitmap device of a layer without a platform reader: the plain-code reader.
#include "images/bitmap_device.h"
#include "platform/common/bitmap_reader.h"

namespace coilrun {

bool DeviceDecodeBitmap(const uint8_t* bytes, size_t size, DecodedBitmap* picture) {
  return ReadBitmapFile(bytes, size, picture);
}

}  // namespace coilrun
