// The keyboard: snapshots, lost input, release; and the SDL key table.
#include "devices/keyboard.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/memory/memory_keyboard.h"
#include "platform/sdl/sdl_keymap.h"
#include "test_support.h"

namespace coilrun {
namespace {

TEST_F(MemoryDeviceTest, LostInputReacquiresAndOnlyTheReadAfterBringsTheCurrentKeys) {
  ASSERT_TRUE(InitKeyboard());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyLeft});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {kKeyReturn});
  ReadKeyboard();
  MemoryLoseKeyboardInput();
  ReadKeyboard();  // Reports lost input: the old snapshot stays.
  EXPECT_TRUE(KeyHeld(kKeyLeft));
  EXPECT_FALSE(KeyHeld(kKeyReturn));
  ReadKeyboard();
  EXPECT_FALSE(KeyHeld(kKeyLeft));
  EXPECT_EQ(KeyState[kKeyReturn], kKeyHeld);
  // A re-acquisition that fails leaves the last snapshot for good, never cleared.
  MemoryRefuseKeyboardStep(MemoryKeyboardStep::kAcquire);
  MemoryLoseKeyboardInput();
  for (int i = 0; i < 3; ++i) ReadKeyboard();
  EXPECT_TRUE(KeyHeld(kKeyReturn));
}

TEST_F(MemoryDeviceTest, EveryRefusedStepFailsInitAndReleaseFreesOnlyWhatExists) {
  for (MemoryKeyboardStep step : {MemoryKeyboardStep::kInputObject, MemoryKeyboardStep::kKeyboardDevice,
                                  MemoryKeyboardStep::kDataFormat, MemoryKeyboardStep::kCooperativeLevel,
                                  MemoryKeyboardStep::kAcquire}) {
    MemoryResetAll();
    MemoryRefuseKeyboardStep(step);
    EXPECT_FALSE(InitKeyboard()) << static_cast<int>(step);
    ReleaseKeyboard();
    ReleaseKeyboard();
    EXPECT_FALSE(MemoryInputObjectMade()) << static_cast<int>(step);
    EXPECT_FALSE(MemoryKeyboardDeviceMade()) << static_cast<int>(step);
    EXPECT_EQ(MemoryKeyboardMisuses(), 0) << static_cast<int>(step);
  }
}

// Every key has a code of its own, so that the game and a recording tell the keys apart; the game's keys
// are the cursor block's, and the keypad's arrows do not steer.
TEST(SdlKeyMapTest, EveryKeyHasACodeOfItsOwnAndTheGamesKeysAreTheCursorBlocks) {
  std::set<int> codes;
  std::map<int, int> code;
  for (const SdlKeyCode& key : kSdlKeyMap) {
    EXPECT_NE(key.code, 0) << "scancode " << key.scancode;
    EXPECT_TRUE(codes.insert(key.code).second) << "code twice: " << int{key.code};
    EXPECT_TRUE(code.emplace(key.scancode, key.code).second) << "scancode twice: " << key.scancode;
  }
  EXPECT_EQ(code[SDL_SCANCODE_UP], kKeyUp);
  EXPECT_EQ(code[SDL_SCANCODE_LEFT], kKeyLeft);
  EXPECT_EQ(code[SDL_SCANCODE_RETURN], kKeyReturn);
  EXPECT_EQ(code[SDL_SCANCODE_ESCAPE], kKeyEscape);
  EXPECT_EQ(code[SDL_SCANCODE_KP_8], 0x48);
  EXPECT_EQ(code[SDL_SCANCODE_KP_4], 0x4B);
}

}  // namespace
}  // namespace coilrun
