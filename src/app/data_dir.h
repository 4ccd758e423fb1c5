// Where the game finds its data: in the working directory when that holds the data, as it always has;
// otherwise in the player's own data folder first and then in the installed default data, with the scores
// kept in the player's folder.
#pragma once

#include <string>

namespace coilrun {

// When the working directory holds no data (no LOGO.DAT) and the installed data folder does: makes the
// player's folder, removes from it the links to the installed data that earlier versions of the game made
// there (a player's own files and links are left alone), creates an empty SCORE.DAT there if it has none,
// makes that folder the working directory and reads every data file it lacks from the installed data.
// Otherwise changes nothing. Safe while other starts of the game do the same at the same moment. False,
// with `error` set, when a step fails.
bool ChooseDataDirectory(std::string* error);

}  // namespace coilrun
