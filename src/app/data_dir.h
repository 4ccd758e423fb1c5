// Where the game finds its data: in the working directory when that holds the data, as it always has;
// otherwise in the installed default data, with the scores kept in the player's own data folder.
#pragma once

#include <string>

namespace coilrun {

// The player's folder for the game: $XDG_DATA_HOME/coilrun, or ~/.local/share/coilrun when that is unset
// or not absolute. Empty when neither that nor HOME is set.
std::string PlayerDataDirectory();

// When the working directory holds no data (no LOGO.DAT) and the installed data folder does: makes the
// player's folder, links each data file there to the installed one (mending links that point elsewhere,
// leaving the player's own files alone), creates an empty SCORE.DAT there if it has none, and makes that
// folder the working directory. Otherwise changes nothing. False, with `error` set, when a step fails.
bool ChooseDataDirectory(std::string* error);

}  // namespace coilrun
