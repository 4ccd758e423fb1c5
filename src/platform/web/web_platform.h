// What the web device layer's modules share among themselves: the page's focus and the yield to the browser.
#pragma once

#include <cstdint>
#include <string>

namespace coilrun {

// Whether the page is visible and has the keyboard; taken from the browser's focus and visibility events.
bool WebPageHasFocus();

// Draws the frame that the last flip handed over into the page's canvas, if it is not drawn yet. A flip
// only hands the frame over; the drawing runs at the next wait, so that its cost hides inside the wait.
void WebPresentPendingFrame();

// Gives the browser its turn (events, painting) and comes back as soon as it has had it, without the
// clamp that the browser puts on short timers.
void WebYield();

// Shows `note` in the page's title after the game's name for about 3 s, then the plain title again.
void WebShowTitleNote(const std::string& note);

// The sound keys: turns the volume up (`steps` 1) or down (-1) by a step, unmuting, or mutes or unmutes,
// and shows the new level in the page's title.
void WebStepSoundLevel(int steps, bool toggleMute);

// Gives the browser its turn if the program has not done so for a while: a run that never waits (a
// replay at full speed) still lets the page paint and take its events.
void WebYieldIfBusy();

}  // namespace coilrun
