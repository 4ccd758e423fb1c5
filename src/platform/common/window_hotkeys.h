// The keys that belong to the window rather than the game: Alt+Enter and F11 switch between full screen
// and a window, F12 saves a screenshot, F8, F9 and F10 mute the sound and turn it down and up. They act
// when pressed and are kept from the game while held, so that Alt+Enter confirms no menu entry and ends no
// wait for a key, nor do the function keys. An Alt key is held
// back while it is down, since Enter may follow; let go alone, it reaches the game as one read's press.
#pragma once

#include <cstdint>

#include "devices/key_codes.h"

namespace coilrun {

// What the window keys asked for at one keyboard read.
struct HotkeyActions {
  bool toggleFullScreen = false;
  bool saveScreenshot = false;
  bool toggleMute = false;
  bool volumeDown = false;
  bool volumeUp = false;
};

// What the filter remembers from one read to the next.
struct HotkeyLatch {
  bool altEnterDown = false;  // the chord was held at the last read
  bool f11Down = false;
  bool f12Down = false;
  bool f8Down = false;
  bool f9Down = false;
  bool f10Down = false;
  bool enterMasked = false;  // an Enter key that was part of the chord, hidden until it is released
  bool altMasked = false;    // likewise the Alt keys
  uint8_t altAlone = 0;  // the Alt key held with no Enter since it went down, to be let through when let go
};

// Takes the window keys out of a 256-byte snapshot and says which of them were just pressed. Each key of
// the Alt+Enter chord stays hidden until that key itself is released, whichever of the two goes up first.
// An Alt key down without Enter is hidden too, and shows in the snapshot of the read that finds it let go.
inline HotkeyActions FilterHotkeys(HotkeyLatch* latch, uint8_t* state) {
  const bool alt = state[kKeyLeftAlt] != 0 || state[kKeyRightAlt] != 0;
  const bool enter = state[kKeyReturn] != 0 || state[kKeyKeypadEnter] != 0;
  const bool altEnter = alt && enter;
  const bool f11 = state[kKeyF11] != 0;
  const bool f12 = state[kKeyF12] != 0;
  HotkeyActions actions;
  actions.toggleFullScreen = (altEnter && !latch->altEnterDown) || (f11 && !latch->f11Down);
  actions.saveScreenshot = f12 && !latch->f12Down;
  latch->altEnterDown = altEnter;
  latch->f11Down = f11;
  latch->f12Down = f12;
  const auto pressed = [state](uint8_t key, bool* wasDown) {
    const bool down = state[key] != 0;
    const bool press = down && !*wasDown;
    *wasDown = down;
    state[key] = 0;
    return press;
  };
  actions.toggleMute = pressed(kKeyF8, &latch->f8Down);
  actions.volumeDown = pressed(kKeyF9, &latch->f9Down);
  actions.volumeUp = pressed(kKeyF10, &latch->f10Down);
  if (altEnter) {
    latch->enterMasked = true;
    latch->altMasked = true;
  }
  latch->enterMasked = latch->enterMasked && enter;
  latch->altMasked = latch->altMasked && alt;
  const uint8_t tapped = alt ? 0 : latch->altAlone;
  const bool altStillAlone = alt && !latch->altMasked;
  latch->altAlone = altStillAlone ? (state[kKeyLeftAlt] != 0 ? kKeyLeftAlt : kKeyRightAlt) : 0;
  if (latch->enterMasked) state[kKeyReturn] = state[kKeyKeypadEnter] = 0;
  state[kKeyLeftAlt] = state[kKeyRightAlt] = 0;
  if (tapped != 0) state[tapped] = kKeyHeld;
  state[kKeyF11] = state[kKeyF12] = 0;
  return actions;
}

}  // namespace coilrun
