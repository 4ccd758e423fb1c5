// What the six stages look like: their names, grounds and hints, shared by backgrounds and intro pictures.
#pragma once

#include <array>

#include "picture.h"

namespace coilrun {

struct StageTheme {
  const char* name;
  std::array<Rgb, 4> ground;  // dark to light
  Rgb frame;                  // the border outside the field
  std::array<const char*, 3> hints;
};

const StageTheme& ThemeOf(int stage);

}  // namespace coilrun
