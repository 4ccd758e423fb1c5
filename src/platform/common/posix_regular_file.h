// Regular files opened and read whole through POSIX within a bound: the real layer's way, which the
// in-memory layer also reads real files through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace coilrun {

// Opens `name` without waiting on a pipe or device and refuses it unless it is a regular file: a descriptor,
// or -1 with the reason in `why` and `missing` telling that nothing is there.
int OpenRegularFile(const char* name, int access, bool* missing, std::string* why);

// Reads all of the regular file `path` (a link followed) into `bytes`, never holding more than `maxSize`
// bytes and one more: a larger file is refused from its size, or as soon as a read passes the bound if it
// grows. False, with the reason in `why`, otherwise; `missing` tells that nothing is there. A pipe or
// device is refused at once, never waited on.
bool ReadBoundedFile(const char* path, size_t maxSize, std::vector<uint8_t>* bytes, bool* missing,
                     std::string* why);

}  // namespace coilrun
