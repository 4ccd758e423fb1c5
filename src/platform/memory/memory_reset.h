// Puts the whole in-memory device layer and the display back to the state of a fresh process.
#pragma once

namespace coilrun {

void MemoryResetAll();

}  // namespace coilrun
