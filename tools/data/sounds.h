// The game's six sound effects, synthesised with integer arithmetic as unsigned 8-bit mono samples at
// 11025 per second.
#pragma once

#include <cstdint>
#include <vector>

namespace coilrun {

std::vector<uint8_t> SynthesiseEat();
std::vector<uint8_t> SynthesiseDie();
std::vector<uint8_t> SynthesiseClear();
std::vector<uint8_t> SynthesiseMenuMove();
std::vector<uint8_t> SynthesiseMenuConfirm();
std::vector<uint8_t> SynthesiseMenuExit();

}  // namespace coilrun
