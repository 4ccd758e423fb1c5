// The one reader of the game's data files: a whole file into memory, within a bound its kind gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace coilrun {

// Reads all of the data file `fileName` into `bytes`: from the working folder, or from the fallback folder
// when the working folder has nothing of that name. False when it is missing, not a regular file, holds
// more than `maxSize` bytes or cannot be read; the reason is kept for DataFileFailure.
bool ReadDataFile(const char* fileName, size_t maxSize, std::vector<uint8_t>* bytes);

// Why the last ReadDataFile of `fileName` failed; empty when the file was read, so that a loader's failure
// lay in what it holds.
std::string DataFileFailure(const char* fileName);
// The folder whose data files stand in for those the working folder lacks (the installed data); empty,
// as at start, for none.
void SetDataFallbackFolder(const std::string& folder);

// Forgets the last failed read.
void ResetDataFiles();

}  // namespace coilrun
