// Test control of where the in-memory platform says the installed data is.
#pragma once

namespace coilrun {

// The folder DeviceInstalledDataDirectory reports; null (the default) for a game that is not installed.
void MemorySetInstalledDataDirectory(const char* folder);

}  // namespace coilrun
