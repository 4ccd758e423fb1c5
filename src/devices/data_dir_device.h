// What the choice of data folder needs of a platform: where an installed game keeps its default data.
#pragma once

namespace coilrun {

const char* DeviceInstalledDataDirectory();
// The folder of the installed default data, absolute, or null where the game is not installed. A folder
// named relative to the working directory is resolved against it here, before the game moves elsewhere.

}  // namespace coilrun
