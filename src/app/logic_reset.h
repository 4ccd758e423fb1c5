// The one reset of the whole logic.
#pragma once

namespace coilrun {

// Puts every module of the logic back as a fresh process has it: whatever start-up, a screen or a game left
// held is released through the devices (in shut-down order), and every module-wide value forgotten. Tests
// and the tools that play over the in-memory layer run it before each run; a device layer's own state is
// that layer's to reset.
void ResetLogicState();

}  // namespace coilrun
