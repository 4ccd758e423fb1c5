// What the Windows program does around the game: its console or message box, and its data folder.
#pragma once

#include <string>

namespace coilrun {

// Gives the program somewhere to print: the console it was started from, or, started without one (from
// Explorer), a file that Win32ShowFailure reads back.
void Win32AttachOutput();
// Where the game was started without a console and ended with a failure (`status` nonzero): shows what
// it printed on stderr in a message box, so that a double-clicked program never fails unseen.
void Win32ShowFailure(int status);
// Moves into the program's own folder before the game starts, when the working folder holds no data, the
// program's folder does, and SCORE.DAT there can be written. Otherwise the game chooses as on every
// platform: a program in a folder that cannot be written (Program Files) plays its data from there and
// keeps the player's files in %APPDATA%\Coilrun. False, with `error` set, when the move fails.
bool Win32ChooseDataFolder(std::string* error);

}  // namespace coilrun
