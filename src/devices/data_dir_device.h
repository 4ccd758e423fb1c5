// What the choice of data folder needs of a platform: where an installed game keeps its default data, and
// where a player's own files go.
#pragma once

#include <string>

namespace coilrun {

// The folder of the installed default data, absolute, or null where the game is not installed. A folder
// named relative to the working directory is resolved against it here, before the game moves elsewhere.
const char* DeviceInstalledDataDirectory();

// The player's own folder for the game (scores and the player's data files), absolute, which may not
// exist yet. False, with the reason in `why`, when the platform cannot tell where it is.
bool DevicePlayerDataDirectory(std::string* folder, std::string* why);

}  // namespace coilrun
