// What the logic needs of a platform's files: whole data files read, one small record saved in place, a
// file written from its start to its end (a recording), a file replaced whole (the settings), and the few
// folder steps that set up a player's data folder. A name is taken from the working folder unless it is
// absolute. No operation waits on another program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace coilrun {

// Reads all of the regular file `name` (a link followed) into `bytes`. False, with the reason in `why`, when
// it is missing, cannot be read, is not a regular file (refused at once, never waited on), holds more than
// `maxSize` bytes (refused before more than that is read or held), or a read fails. `missing`, where given,
// tells that nothing is there by that name (nor, for a name with folders, perhaps the folder).
bool DeviceReadWholeFile(const char* name, size_t maxSize, std::vector<uint8_t>* bytes, std::string* why,
                         bool* missing = nullptr);

// Whether something is there under `name`, a link followed: a link to nothing is nothing.
bool DeviceNameTaken(const char* name);

// Makes `name` hold exactly `bytes`: makes its folders where missing, writes a new file beside it, puts that
// on the disk and renames it over `name`, so that `name` holds the old bytes or the new, never a part.
// False, with the reason in `why` and `name` untouched, when a step fails.
bool DeviceReplaceFile(const char* name, const std::vector<uint8_t>& bytes, std::string* why);

// The full name of the player's settings file; empty where the platform has no place for it.
std::string DeviceSettingsFileName();

// Opens the existing regular file `name` (a link followed) for reading and writing, never creating it: a
// handle of 0 or more. -1, with the reason in `why`, when it cannot; `missing` tells that no file is there.
int DeviceOpenRecord(const char* name, bool* missing, std::string* why);

// Tries once, at once, to take the file's lock: shared (others may read too) or exclusive (for a save);
// kept until the close. False when not taken: `busy` tells that another program holds a lock in the way,
// otherwise `why` says what failed. Nobody else's lock is ever waited on; the caller retries.
bool DeviceTryLockRecord(int handle, bool exclusive, bool* busy, std::string* why);

// Reads up to `size` bytes from the file's start into `into`, `got` of them (fewer for a shorter file);
// nothing past them is read.
bool DeviceReadRecord(int handle, uint8_t* into, size_t size, size_t* got, std::string* why);

// Writes `size` bytes at the file's start in one write, which a file shorter than that grows for.
bool DeviceWriteRecord(int handle, const uint8_t* bytes, size_t size, std::string* why);

// Puts what was written on the disk: once it succeeds, a power cut cannot take it back.
bool DeviceFlushRecord(int handle, std::string* why);

// Closes the file and gives up its lock.
void DeviceCloseRecord(int handle);

// Makes the folder `name` and any folder above it that is missing. One already there is success, also
// when another program makes it at the same moment.
bool DeviceMakeFolder(const char* name, std::string* why);

// Creates the file `name` holding `size` bytes, unless something already has that name, which is success
// (another program may make it at the same moment). A file that this call made and could not fill is
// removed again.
bool DeviceCreateFile(const char* name, const uint8_t* bytes, size_t size, std::string* why);

// Makes `name` the working folder, against which every later relative name is taken.
bool DeviceChangeFolder(const char* name, std::string* why);

// The target of the symbolic link `name`, as the link holds it. False when `name` is no symbolic link
// (or the platform has none).
bool DeviceReadLink(const char* name, std::string* target);

// Removes the symbolic link `name` itself, never what it points to. Nothing there is success, also when
// another program removed it at the same moment.
bool DeviceRemoveLink(const char* name, std::string* why);

// Makes the file `name` afresh and empty, replacing a regular file there, to be written from its start to
// its end: a handle of 0 or more, which DeviceFlushRecord and DeviceCloseRecord also take. -1, with the
// reason in `why`, when it cannot.
int DeviceOpenNewFile(const char* name, std::string* why);

// Writes `size` bytes at the end of a file made by DeviceOpenNewFile, all of them or fails.
bool DeviceAppendFile(int handle, const uint8_t* bytes, size_t size, std::string* why);

}  // namespace coilrun
