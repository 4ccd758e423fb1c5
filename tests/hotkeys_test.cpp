// The window's own keys: what they set off, and how they are kept from the game while held.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>

#include "platform/sdl/rgb565.h"
#include "platform/sdl/sdl_hotkeys.h"

namespace coilrun {
namespace {

using Keys = std::array<uint8_t, 256>;
const Keys kNoKeys{};

// Feeds one keyboard read holding exactly `held` through the filter; the snapshot the game then sees.
struct Reads {
  HotkeyLatch latch;
  HotkeyActions actions;
  Keys Read(std::initializer_list<uint8_t> held) {
    Keys keys{};
    for (uint8_t key : held) keys[key] = kKeyHeld;
    actions = FilterHotkeys(&latch, keys.data());
    return keys;
  }
};

// Either Alt with either Enter makes the chord: the left Alt with Return, then the right with the keypad's.
TEST(Hotkeys, AltEnterTogglesOnceAndNeverReachesTheGameWhicheverKeyIsLetGoFirst) {
  for (bool enterUpFirst : {true, false}) {
    SCOPED_TRACE(enterUpFirst ? "Enter let go first" : "Alt let go first");
    const uint8_t alt = enterUpFirst ? kKeyLeftAlt : kKeyRightAlt;
    const uint8_t enter = enterUpFirst ? kKeyReturn : kKeyKeypadEnter;
    Reads reads;
    // Alt first is held back: it may begin the chord, and a wait for any key must not end on it.
    EXPECT_EQ(reads.Read({alt}), kNoKeys);
    EXPECT_EQ(reads.Read({alt, enter}), kNoKeys);
    EXPECT_TRUE(reads.actions.toggleFullScreen);
    EXPECT_EQ(reads.Read({alt, enter}), kNoKeys);
    EXPECT_FALSE(reads.actions.toggleFullScreen);
    // The key still held after the other is let go stays hidden: a menu must not take the Enter, nor a
    // wait for a key the Alt, then or when it is let go.
    EXPECT_EQ(reads.Read({enterUpFirst ? alt : enter}), kNoKeys);
    EXPECT_FALSE(reads.actions.toggleFullScreen);
    EXPECT_EQ(reads.Read({}), kNoKeys);
    // Once both are up, both are ordinary keys again.
    EXPECT_EQ(reads.Read({enter})[enter], kKeyHeld);
    EXPECT_FALSE(reads.actions.toggleFullScreen);
  }
}

TEST(Hotkeys, AnAltTappedAloneIsOneKeyPressWhenLetGo) {
  Reads reads;
  EXPECT_EQ(reads.Read({kKeyRightAlt, kKeyUp})[kKeyRightAlt], 0);
  EXPECT_EQ(reads.Read({kKeyRightAlt}), kNoKeys);
  EXPECT_EQ(reads.Read({})[kKeyRightAlt], kKeyHeld);
  EXPECT_EQ(reads.Read({}), kNoKeys);
  EXPECT_FALSE(reads.actions.toggleFullScreen);
}

TEST(Hotkeys, OtherKeysPassUntouchedBesideTheChordAndF12) {
  Reads reads;
  Keys expected{};
  expected[kKeyUp] = expected[kKeyEscape] = kKeyHeld;
  EXPECT_EQ(reads.Read({kKeyLeftAlt, kKeyReturn, kKeyUp, kKeyEscape, kKeyF12}), expected);
  EXPECT_TRUE(reads.actions.toggleFullScreen && reads.actions.saveScreenshot);
}

TEST(Hotkeys, F11AndF12ActOncePerPressAndAreAlwaysHidden) {
  Reads reads;
  EXPECT_EQ(reads.Read({kKeyF11}), kNoKeys);
  EXPECT_TRUE(reads.actions.toggleFullScreen);
  EXPECT_EQ(reads.Read({kKeyF11}), kNoKeys);
  EXPECT_FALSE(reads.actions.toggleFullScreen);
  EXPECT_EQ(reads.Read({kKeyF11, kKeyF12}), kNoKeys);
  EXPECT_TRUE(reads.actions.saveScreenshot);
  EXPECT_FALSE(reads.actions.toggleFullScreen);
  EXPECT_EQ(reads.Read({kKeyF12}), kNoKeys);
  EXPECT_FALSE(reads.actions.saveScreenshot);
  reads.Read({});
  reads.Read({kKeyF12});
  EXPECT_TRUE(reads.actions.saveScreenshot);
}

// Each channel's top bits repeat into its low bits: no channel loses its full brightness or its order.
TEST(Rgb565, EachChannelSpansTheFullRangeAndKeepsItsOrder) {
  EXPECT_EQ(Rgb565ToRgb888(0xF800), 0xFF0000u);
  EXPECT_EQ(Rgb565ToRgb888(0x07E0), 0x00FF00u);
  EXPECT_EQ(Rgb565ToRgb888(0x001F), 0x0000FFu);
  EXPECT_EQ(Rgb565ToRgb888(0x8410), 0x848284u);  // The middle level of each channel.
  EXPECT_EQ(Rgb565ToRgb888(0x0821), 0x080408u);  // The lowest level but one.
}

}  // namespace
}  // namespace coilrun
