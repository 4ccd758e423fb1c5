// What the logic needs of a platform's files: whole data files read, and one small record saved in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace coilrun {

bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why);
// Reads all of the regular file `name` (a link followed) into `bytes`. False, with the reason in `why`, when
// it is missing, cannot be read, is not a regular file (refused at once, never waited on), holds more than
// `maxSize` bytes, or a read fails. Never waits on another program.

int DeviceOpenRecord(const char* name, bool* missing, std::string* why);
// Opens the existing regular file `name` (a link followed) for reading and writing, never creating it: a
// handle of 0 or more. -1, with the reason in `why`, when it cannot; `missing` tells that no file is there.
bool DeviceLockRecord(int handle, std::string* why);
// Takes the file's exclusive lock, waiting while another program holds it; kept until the close.
bool DeviceReadRecord(int handle, uint8_t* into, size_t size, size_t* got, std::string* why);
// Reads up to `size` bytes from the file's start into `into`, `got` of them (fewer for a shorter file);
// nothing past them is read.
bool DeviceWriteRecord(int handle, const uint8_t* bytes, size_t size, std::string* why);
// Writes `size` bytes at the file's start in one write, which a file shorter than that grows for.
bool DeviceFlushRecord(int handle, std::string* why);
// Puts what was written on the disk: once it succeeds, a power cut cannot take it back.
void DeviceCloseRecord(int handle);
// Closes the file and gives up its lock.
int DeviceCreateFile(const char* name, std::string* why);
// Makes the file `name` afresh and empty, replacing a regular file there, to be written from its start to its
// end: a handle of 0 or more, which DeviceFlushRecord and DeviceCloseRecord also take. -1, with the reason.
bool DeviceAppendFile(int handle, const uint8_t* bytes, size_t size, std::string* why);
// Writes `size` bytes at the end of a file made by DeviceCreateFile, all of them or fails.

}  // namespace coilrun
