// The default data set: every file the game reads, made from the pictures and sounds of this tool.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "game/score_table.h"
#include "writers.h"

namespace coilrun {

// The manifest that a data folder carries for the browser's page: the data files' names and sizes, and
// the score table's name and size, so that the page never writes them down itself.
inline constexpr const char* kManifestName = "files.json";

struct MakeOptions {
  // An existing SCORE.DAT holds a player's scores and is kept unless this is set.
  bool resetScores = false;
};

// The bytes of the data file with this index of the asset table; none if an encoder refused the picture.
std::optional<Bytes> BuildAsset(int index);
// Writes every data file into `dir` (which must exist), an empty score table where none is, and the
// manifest. False after reporting the first failure on `errors`.
bool MakeDataSet(const std::string& dir, const MakeOptions& options, std::ostream& errors);

// Writes the manifest of the data files in `dir`, in the asset table's order, as JSON:
// {"files": [{"name": "BG00.DAT", "size": 921654}, ...], "scores": {"name": "SCORE.DAT", "size": 1036}}.
// False after reporting a missing data file, or a manifest it cannot write, on `errors`.
bool WriteManifest(const std::string& dir, std::ostream& errors);

}  // namespace coilrun
