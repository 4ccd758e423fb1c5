// What the regular-file readers share: reading to the end within a bound, whatever the file's size said,
// and the whole-file read that names the folder a missing file was looked for in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace coilrun {

// One read of at most `room` bytes into `into`: the count read, 0 at the end, or -1 with the reason in `why`.
using ReadSome = std::function<int64_t(uint8_t* into, size_t room)>;

// Reads a file whose size was said to be `sizeSaid` into `bytes` through `readSome`, never holding more than
// `maxSize` bytes and one more: refused from the size said, or as soon as a read passes the bound if the
// file grew. False, with the reason in `why`, otherwise.
bool ReadUpToBound(uint64_t sizeSaid, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why,
                   const ReadSome& readSome);

// DeviceReadWholeFile over the layer's ReadBoundedFile: a missing file is said as "no such file in FOLDER",
// FOLDER being `folderOf(name)`.
bool ReadWholeFileNamingFolder(const char* name, size_t maxSize, std::vector<uint8_t>* bytes,
                               std::string* why, bool* missingFile,
                               std::string (*folderOf)(const char* name));

}  // namespace coilrun
