// The window's own keys: what they set off, and how they are kept from the game while held.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>

#include "platform/sdl/rgb565.h"
#include "platform/sdl/sdl_hotkeys.h"

namespace coilrun {
namespace {

// Feeds one keyboard read holding exactly `held` through the filter; the snapshot the game then sees.
struct Reads {
  HotkeyLatch latch;
  HotkeyActions actions;
  std::array<uint8_t, 256> Read(std::initializer_list<uint8_t> held) {
    std::array<uint8_t, 256> keys{};
    for (uint8_t key : held) keys[key] = kKeyHeld;
    actions = FilterHotkeys(&latch, keys.data());
    return keys;
  }
};

bool Empty(const std::array<uint8_t, 256>& keys) {
  for (uint8_t key : keys) {
    if (key != 0) return false;
  }
  return true;
}

TEST(Hotkeys, AltEnterTogglesOnceAndNeverReachesTheGameWhicheverKeyIsLetGoFirst) {
  for (bool enterUpFirst : {true, false}) {
    SCOPED_TRACE(enterUpFirst ? "Enter let go first" : "Alt let go first");
    Reads reads;
    // Alt alone is an ordinary key.
    EXPECT_EQ(reads.Read({kKeyLeftAlt})[kKeyLeftAlt], kKeyHeld);
    EXPECT_TRUE(Empty(reads.Read({kKeyLeftAlt, kKeyReturn})));
    EXPECT_TRUE(reads.actions.toggleFullScreen);
    EXPECT_TRUE(Empty(reads.Read({kKeyLeftAlt, kKeyReturn})));
    EXPECT_FALSE(reads.actions.toggleFullScreen);
    // The key still held after the other is let go stays hidden: a menu must not take the Enter, nor a
    // wait for a key the Alt.
    const uint8_t still = enterUpFirst ? kKeyLeftAlt : kKeyReturn;
    EXPECT_TRUE(Empty(reads.Read({still})));
    EXPECT_FALSE(reads.actions.toggleFullScreen);
    EXPECT_TRUE(Empty(reads.Read({})));
    // Once both are up, both are ordinary keys again.
    EXPECT_EQ(reads.Read({kKeyReturn})[kKeyReturn], kKeyHeld);
    EXPECT_FALSE(reads.actions.toggleFullScreen);
  }
}

TEST(Hotkeys, TheRightAltAndTheKeypadEnterMakeTheChordToo) {
  Reads reads;
  const auto keys = reads.Read({kKeyRightAlt, kKeyKeypadEnter, kKeyUp});
  EXPECT_TRUE(reads.actions.toggleFullScreen);
  EXPECT_EQ(keys[kKeyRightAlt], 0);
  EXPECT_EQ(keys[kKeyKeypadEnter], 0);
  EXPECT_EQ(keys[kKeyUp], kKeyHeld);
}

TEST(Hotkeys, F11AndF12ActOncePerPressAndAreAlwaysHidden) {
  Reads reads;
  EXPECT_TRUE(Empty(reads.Read({kKeyF11})));
  EXPECT_TRUE(reads.actions.toggleFullScreen);
  EXPECT_TRUE(Empty(reads.Read({kKeyF11})));
  EXPECT_FALSE(reads.actions.toggleFullScreen);
  EXPECT_TRUE(Empty(reads.Read({kKeyF11, kKeyF12})));
  EXPECT_TRUE(reads.actions.saveScreenshot);
  EXPECT_FALSE(reads.actions.toggleFullScreen);
  EXPECT_TRUE(Empty(reads.Read({kKeyF12})));
  EXPECT_FALSE(reads.actions.saveScreenshot);
  reads.Read({});
  reads.Read({kKeyF12});
  EXPECT_TRUE(reads.actions.saveScreenshot);
}

TEST(Hotkeys, OtherKeysPassUntouchedWhileTheWindowKeysAreHeld) {
  Reads reads;
  const auto keys = reads.Read({kKeyLeftAlt, kKeyReturn, kKeyLeft, kKeyEscape, kKeyF12});
  EXPECT_EQ(keys[kKeyLeft], kKeyHeld);
  EXPECT_EQ(keys[kKeyEscape], kKeyHeld);
  int held = 0;
  for (uint8_t key : keys) held += key != 0 ? 1 : 0;
  EXPECT_EQ(held, 2);
}

TEST(Rgb565, EachChannelSpansTheFullRangeAndKeepsItsOrder) {
  EXPECT_EQ(Rgb565ToRgb888(0x0000), 0x000000u);
  EXPECT_EQ(Rgb565ToRgb888(0xFFFF), 0xFFFFFFu);
  EXPECT_EQ(Rgb565ToRgb888(0xF800), 0xFF0000u);
  EXPECT_EQ(Rgb565ToRgb888(0x07E0), 0x00FF00u);
  EXPECT_EQ(Rgb565ToRgb888(0x001F), 0x0000FFu);
  for (uint32_t level = 1; level < 32; ++level) {
    EXPECT_GT(Widen5(level), Widen5(level - 1));
    EXPECT_EQ(Widen5(level) >> 3, level);
  }
  for (uint32_t level = 1; level < 64; ++level) {
    EXPECT_GT(Widen6(level), Widen6(level - 1));
    EXPECT_EQ(Widen6(level) >> 2, level);
  }
}

}  // namespace
}  // namespace coilrun
