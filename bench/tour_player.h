// The tour's player: a scripted player for whole games over the in-memory devices that gets through all six
// stages of the tests' data set more often than not.
#pragma once

#include <cstdint>
#include <vector>

namespace coilrun {

// Forgets the stage it counted time in; called before each game.
void ResetTourPlayer();
// The keys held at one read of a game that began after `gameStartTick` ticks: Return through every wait,
// then in each stage roaming safely for `roamSeconds` of play before hunting the enemy; Up and Return once
// the game is over, to choose Exit.
std::vector<uint8_t> TourPlayerKeys(uint64_t gameStartTick, double roamSeconds);

}  // namespace coilrun
