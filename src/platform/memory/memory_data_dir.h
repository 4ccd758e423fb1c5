// Test controls of where the in-memory platform says the installed data and the player's folder are.
#pragma once

namespace coilrun {

// The folder DeviceInstalledDataDirectory reports; null (the default) for a game that is not installed.
void MemorySetInstalledDataDirectory(const char* folder);
// The folder DevicePlayerDataDirectory reports; null (the default) for a platform that cannot tell.
void MemorySetPlayerDataDirectory(const char* folder);

}  // namespace coilrun
