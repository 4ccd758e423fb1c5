// The keyboard: snapshots, the any-key test, lost input, release; and the SDL key table.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "devices/keyboard.h"
#include "platform/memory/memory_keyboard.h"
#include "platform/sdl/sdl_keymap.h"
#include "test_support.h"

namespace coilrun {
namespace {

TEST_F(MemoryDeviceTest, AnyKeyDownSeesHeldKeysIncludingOnesTheGameIgnores) {
  ASSERT_TRUE(InitKeyboard());
  EXPECT_FALSE(AnyKeyDown());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {0x2A});  // Left Shift alone.
  EXPECT_TRUE(AnyKeyDown());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 2, {0xFF});
  EXPECT_TRUE(AnyKeyDown());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 3, {});
  EXPECT_FALSE(AnyKeyDown());
}

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
  }
  MemoryResetAll();
  MemoryRefuseKeyboardStep(MemoryKeyboardStep::kKeyboardDevice);
  EXPECT_FALSE(InitKeyboard());
  ReleaseKeyboard();
  ReleaseKeyboard();
  const std::vector<const char*>& calls = MemoryKeyboardCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_STREQ(calls[2], "release input object");
}

TEST(SdlKeyMapTest, EveryListedCodeHasExactlyOneKeyAndEveryKeyOneCode) {
  std::set<int> expected;
  for (int code = 0x01; code <= 0x53; ++code) expected.insert(code);
  for (int code : {0x56, 0x57, 0x58, 0x64, 0x65, 0x66, 0x70, 0x73, 0x79, 0x7B, 0x7D, 0x7E, 0x8D, 0x9C, 0x9D,
                   0xB5, 0xB7, 0xB8, 0xC5, 0xC7, 0xC8, 0xC9, 0xCB, 0xCD, 0xCF, 0xD0, 0xD1, 0xD2, 0xD3, 0xDB,
                   0xDC, 0xDD}) {
    expected.insert(code);
  }
  std::map<int, int> keysPerCode;
  std::set<int> scancodes;
  for (const SdlKeyCode& key : kSdlKeyMap) {
    ++keysPerCode[key.code];
    EXPECT_TRUE(scancodes.insert(key.scancode).second) << "scancode twice: " << key.scancode;
  }
  std::set<int> mapped;
  for (const auto& [code, keys] : keysPerCode) {
    EXPECT_EQ(keys, 1) << "code " << code;
    mapped.insert(code);
  }
  EXPECT_EQ(mapped, expected);
  // The game's keys are the cursor block's; the keypad's arrows do not steer.
  std::map<int, int> code;
  for (const SdlKeyCode& key : kSdlKeyMap) code[key.scancode] = key.code;
  EXPECT_EQ(code[SDL_SCANCODE_UP], kKeyUp);
  EXPECT_EQ(code[SDL_SCANCODE_LEFT], kKeyLeft);
  EXPECT_EQ(code[SDL_SCANCODE_RETURN], kKeyReturn);
  EXPECT_EQ(code[SDL_SCANCODE_ESCAPE], kKeyEscape);
  EXPECT_EQ(code[SDL_SCANCODE_KP_8], 0x48);
  EXPECT_EQ(code[SDL_SCANCODE_KP_4], 0x4B);
}

}  // namespace
}  // namespace coilrun
