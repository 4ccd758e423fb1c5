// The entry every fuzz target defines; libFuzzer or the corpus replayer calls it with one input.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
