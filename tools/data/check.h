// The checker of a data set: loads every file with the game's own loaders and tests what the game needs.
#pragma once

#include <ostream>
#include <string>

namespace coilrun {

// Writes one line per file, "NAME: ok" or "NAME: what is wrong"; true when every file is fine.
bool CheckDataSet(const std::string& dir, std::ostream& out);

}  // namespace coilrun
