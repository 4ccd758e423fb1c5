// What the choice of data folder needs of a platform: where an installed game keeps its default data.
#pragma once

namespace coilrun {

const char* DeviceInstalledDataDirectory();
// The folder of the installed default data, or null where the game is not installed.

}  // namespace coilrun
