// A scripted player for whole-program tests and demos: it reads the play state and answers each keyboard
// read with the keys a player would hold.
#pragma once

#include <cstdint>
#include <vector>

namespace coilrun {

// How the scripted player plays a game.
enum class Plan {
  kClearThenCrash,  // homes in on every enemy of the first stage, then runs straight into the border
  kQuitFromDialog,  // plays a little, then Esc and Return
  kClearThenQuit,   // clears the first stage, then quits from the pause dialog in the second
  kCrash,           // never steers: every attempt ends at the border
  kHunt,            // homes in on the enemy in every stage
};

// The keys held at the read counted `read`. Return, pressed again and again outside play (held at every
// other read), ends every wait and confirms play in the menu; once the game that began after `ticksAtStart`
// ticks is over, Up and Return pressed together choose Exit.
std::vector<uint8_t> ScriptedKeys(Plan plan, uint64_t ticksAtStart, uint64_t read);

}  // namespace coilrun
