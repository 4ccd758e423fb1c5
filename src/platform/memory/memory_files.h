// Test controls of the in-memory files: files, folders and links held in memory, locks held by other
// programs, a journal of every operation, a switch to fail any step and a switch to cut the power after
// any step. Names are stored as given; the device takes a relative name from its working folder, which is
// empty (names kept as they are) until the logic changes it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace coilrun {

// The size of a disk sector: one write inside one sector reaches the disk whole or not at all.
inline constexpr size_t kMemorySectorSize = 512;

void MemoryResetFiles();

// Puts a regular file, already on the disk, in place of whatever had the name.
void MemoryPutFile(const std::string& name, const std::vector<uint8_t>& bytes);

// Puts something that is not a regular file (a pipe, a device) under the name.
void MemoryPutSpecialFile(const std::string& name);

// Puts a symbolic link to `target` under the name; a relative target is taken from the link's folder.
void MemoryPutLink(const std::string& name, const std::string& target);

// The target of the link under the name; empty when it is no link.
std::string MemoryLinkTarget(const std::string& name);

// Makes a folder and the folders above it.
void MemoryMakeFolder(const std::string& name);

bool MemoryFolderExists(const std::string& name);

// The folder the device takes relative names from; empty until the logic changes it.
const std::string& MemoryWorkingFolder();

// Puts a real file under the name without reading it: a read of it reads the real file through the real
// layer's bounded reader, so that a file of any size costs only what that reader reads.
void MemoryPutDiskFile(const std::string& name, const std::filesystem::path& path);

// Another program holds a lock on the file under the name, shared or exclusive, until the virtual clock
// reaches `untilNs` (-1: for ever).
void MemoryHoldLockElsewhere(const std::string& name, bool exclusive, int64_t untilNs = -1);

void MemoryRemoveFile(const std::string& name);

bool MemoryFileExists(const std::string& name);

// What a regular file holds now, as a read would see it; empty for none.
std::vector<uint8_t> MemoryFileBytes(const std::string& name);

// Puts each file of a real folder under its own name; with `prefix`, under prefix + name.
void MemoryPutFolder(const std::filesystem::path& folder, const std::string& prefix = "");

// Puts one real file under `name`: a regular file with its bytes, anything else as a special file; false
// when there is nothing at `path`.
bool MemoryPutFileFromDisk(const std::string& name, const std::filesystem::path& path);

// The name the in-memory platform gives the settings file: from the root, as the real ones give it, so that
// a change of the working folder leaves it where it was.
inline constexpr const char* kMemorySettingsFile = "/config/coilrun/settings.ini";

// Replacing a file in `folder` (its name begins with folder + "/") is refused as a read-only folder
// refuses it.
void MemoryMakeFolderReadOnly(const std::string& folder);

// Writes what the regular file `name` holds now to the real file at `path`; false when there is none or
// the write fails.
bool MemoryWriteFileToDisk(const std::string& name, const std::filesystem::path& path);

// Every file operation since the reset, one line each, with the name as the logic gave it: "read-whole
// NAME" and "look NAME" for a data file; "open NAME", "lock NAME shared|exclusive", "read NAME SIZE",
// "write NAME SIZE", "flush NAME", "close NAME" for a record, with the bytes read or written;
// "make-folder NAME", "create NAME SIZE", "change-folder NAME", "read-link NAME", "remove-link NAME";
// "replace NAME SIZE" for a file written whole; "new NAME" and "append NAME SIZE" for a file written from its
// start to its end.
const std::vector<std::string>& MemoryFileJournal();

// The operation numbered `step` (1 is the first after the reset) fails with an input/output error.
void MemoryFailFileStep(int step);

// The next operation whose journal line starts with `start` fails with an input/output error.
void MemoryFailFileOperation(const std::string& start);

// The power is cut right after the operation numbered `step` has run: what was written and not flushed is
// lost, except the sectors whose bits are set in `keptSectors` (bit i: sector i of each unflushed write's
// file), which reached the disk; every later operation fails.
void MemoryCutPowerAfter(int step, uint32_t keptSectors = 0);

}  // namespace coilrun
