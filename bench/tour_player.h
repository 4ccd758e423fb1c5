// The tour's player: a scripted player for whole games over the in-memory devices that gets through all six
// stages of the tests' data set more often than not.
#pragma once

#include <cstdint>
#include <vector>

namespace coilrun {

// Forgets the stage it counted time in; called before each game.
void ResetTourPlayer();
// The keys held at the read counted `read` of a game that began after `gameStartTick` ticks: Return pressed
// again and again outside play (held at every other read) through every wait, then in each stage roaming
// safely for `roamSeconds` of play before hunting the enemy; Up and Return pressed together once the game is
// over, to choose Exit.
std::vector<uint8_t> TourPlayerKeys(uint64_t gameStartTick, double roamSeconds, uint64_t read);

}  // namespace coilrun
