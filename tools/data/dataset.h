// The default data set: every file the game reads, made from the pictures and sounds of this tool.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "game/score_table.h"
#include "writers.h"

namespace coilrun {

struct MakeOptions {
  // An existing SCORE.DAT holds a player's scores and is kept unless this is set.
  bool resetScores = false;
};

// The bytes of the data file with this index of the asset table; none if an encoder refused the picture.
std::optional<Bytes> BuildAsset(int index);
// Writes every data file into `dir` (which must exist), and an empty score table where none is.
// False after reporting the first failure on `errors`.
bool MakeDataSet(const std::string& dir, const MakeOptions& options, std::ostream& errors);

}  // namespace coilrun
