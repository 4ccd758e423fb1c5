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
// Chooses the working folder before the game starts. The working folder when it holds the data; else the
// program's own folder when that holds the data and SCORE.DAT there can be written; else, for a program
// in a folder that cannot be written (Program Files), %APPDATA%\Coilrun, given copies of the data files
// that are missing there or differ. False, with `error` set, when that folder cannot be made ready.
bool Win32ChooseDataFolder(std::string* error);

}  // namespace coilrun
