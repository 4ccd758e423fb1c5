// A small complete data set for whole-program tests: plain pictures whose colours say what they are.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "image_files.h"

namespace coilrun {

// The PCX palette index of each thing drawn from the sheets, so that a test can find it on the screen.
inline constexpr uint8_t kSheetBackground = 0;  // black: transparent
inline constexpr uint8_t kLabelIndex = 40;      // menu labels: 40 + entry
inline constexpr uint8_t kDigitIndex = 60;      // digit d: 60 + d
inline constexpr uint8_t kBannerIndex = 80;     // clear 80, death 81
inline constexpr uint8_t kPauseIndex = 90;      // box 90, quit marker 91, go-on marker 92
inline constexpr uint8_t kStageLabelIndex = 100;
inline constexpr uint8_t kHighScoreBannerIndex = 110;
inline constexpr uint8_t kPictureIndex = 120;  // full-screen PCX pictures: logo 120, intros 121 to 126

// The colour a sheet index shows on the screen (the sheets' palette gives index i red (i & 31) * 8 and
// green (i >> 5) * 4).
uint16_t GameDataSheetColour(uint8_t index);

// Writes all 24 data files into `dir` (and an empty SCORE.DAT when `withScores`). Backgrounds are plain
// dark colours without walls; each wave file has a length of its own.
void WriteGameData(const std::filesystem::path& dir, bool withScores = true);
// The same files put in the in-memory device's files.
void PutGameData(bool withScores = true);
// The samples of the test set's wave file `name`, as the sound device receives them.
std::vector<uint8_t> GameDataSamples(const std::string& name);
// The colour the test set paints a full-screen bitmap (BGnn, MENU) with.
Rgb GameDataBitmapColour(const std::string& name);
// What the last presented frame of a game on the test set shows, told by its colours: "logo", "intro-N",
// "play-N" (N the stage from 1), "clear-banner", "death-banner", "high-scores"; empty for anything else (a
// fade's black, the menu).
std::string ShownScreen();

}  // namespace coilrun
