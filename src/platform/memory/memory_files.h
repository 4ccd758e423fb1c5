// Test controls of the in-memory files: files held in memory, a journal of every operation, a switch to
// fail any step and a switch to cut the power after any step.
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
void MemoryRemoveFile(const std::string& name);
bool MemoryFileExists(const std::string& name);
// What a regular file holds now, as a read would see it; empty for none.
std::vector<uint8_t> MemoryFileBytes(const std::string& name);
// Puts each file of a real folder under its own name; with `prefix`, under prefix + name.
void MemoryPutFolder(const std::filesystem::path& folder, const std::string& prefix = "");
// Puts one real file under `name`: a regular file with its bytes, anything else as a special file; false
// when there is nothing at `path`.
bool MemoryPutFileFromDisk(const std::string& name, const std::filesystem::path& path);
// Writes what the regular file `name` holds now to the real file at `path`; false when there is none or
// the write fails.
bool MemoryWriteFileToDisk(const std::string& name, const std::filesystem::path& path);

// Every file operation since the reset, one line each: "read-whole NAME" for a data file; "open NAME",
// "lock NAME", "read NAME SIZE", "write NAME SIZE", "flush NAME", "close NAME" for a record, with the bytes
// read or written; "create NAME" and "append NAME SIZE" for a file written from its start to its end.
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
