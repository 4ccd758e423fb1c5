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

constexpr uint8_t kKeyLeftShift = 0x2A;
constexpr uint8_t kKeyA = 0x1E;

TEST_F(MemoryDeviceTest, AnyKeyDownSeesEveryKeyIncludingOnesTheGameIgnores) {
  ASSERT_TRUE(InitKeyboard());
  EXPECT_FALSE(AnyKeyDown());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {kKeyLeftShift});
  EXPECT_TRUE(AnyKeyDown());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 2, {0xFF});
  EXPECT_TRUE(AnyKeyDown());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 3, {});
  EXPECT_FALSE(AnyKeyDown());
}

TEST_F(MemoryDeviceTest, AKeyHeldSinceBeforeTheWaitEndsItAtOnce) {
  ASSERT_TRUE(InitKeyboard());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyReturn});
  ReadKeyboard();
  EXPECT_TRUE(KeyHeld(kKeyReturn));
  EXPECT_EQ(KeyState[kKeyReturn], kKeyHeld);
  EXPECT_TRUE(AnyKeyDown());
}

TEST_F(MemoryDeviceTest, LostInputReacquiresAndTheReadAfterBringsTheCurrentKeys) {
  ASSERT_TRUE(InitKeyboard());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyLeft});
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 1, {kKeyA});
  ReadKeyboard();
  EXPECT_TRUE(KeyHeld(kKeyLeft));
  MemoryLoseKeyboardInput();
  ReadKeyboard();  // Reports lost input: the old snapshot stays, and the device is acquired again.
  EXPECT_TRUE(KeyHeld(kKeyLeft));
  EXPECT_FALSE(KeyHeld(kKeyA));
  ReadKeyboard();
  EXPECT_FALSE(KeyHeld(kKeyLeft));
  EXPECT_TRUE(KeyHeld(kKeyA));
}

TEST_F(MemoryDeviceTest, AFailedReacquisitionLeavesTheLastSnapshotAndNeverClearsIt) {
  ASSERT_TRUE(InitKeyboard());
  MemoryHoldKeys(MemoryKeyTrigger::kRead, 0, {kKeyRight});
  ReadKeyboard();
  MemoryRefuseKeyboardStep(MemoryKeyboardStep::kAcquire);
  MemoryLoseKeyboardInput();
  for (int i = 0; i < 3; ++i) ReadKeyboard();
  EXPECT_TRUE(KeyHeld(kKeyRight));
}

TEST_F(MemoryDeviceTest, KeyScriptCanFollowPresentedFrames) {
  ASSERT_TRUE(InitDisplay());
  ASSERT_TRUE(InitKeyboard());
  MemoryHoldKeys(MemoryKeyTrigger::kFrame, 2, {kKeyEscape});
  PresentFrame();
  EXPECT_FALSE(AnyKeyDown());
  PresentFrame();
  EXPECT_TRUE(AnyKeyDown());
}

TEST_F(MemoryDeviceTest, ReleaseAfterAFailedInitOrTwiceReleasesOnlyWhatExists) {
  MemoryRefuseKeyboardStep(MemoryKeyboardStep::kKeyboardDevice);
  EXPECT_FALSE(InitKeyboard());
  ReleaseKeyboard();
  ReleaseKeyboard();
  const std::vector<const char*> expected = {"create input object", "create keyboard", "release input object"};
  ASSERT_EQ(MemoryKeyboardCalls().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_STREQ(MemoryKeyboardCalls()[i], expected[i]);
  // Reading with no device leaves the snapshot alone.
  KeyState[5] = 1;
  ReadKeyboard();
  EXPECT_EQ(KeyState[5], 1);
}

TEST_F(MemoryDeviceTest, EveryRefusedStepFailsInit) {
  for (MemoryKeyboardStep step : {MemoryKeyboardStep::kInputObject, MemoryKeyboardStep::kKeyboardDevice,
                                  MemoryKeyboardStep::kDataFormat, MemoryKeyboardStep::kCooperativeLevel,
                                  MemoryKeyboardStep::kAcquire}) {
    MemoryResetAll();
    MemoryRefuseKeyboardStep(step);
    EXPECT_FALSE(InitKeyboard()) << static_cast<int>(step);
  }
}

TEST(SdlKeyMapTest, EveryListedCodeHasExactlyOneKeyAndEveryKeyOneCode) {
  std::set<uint8_t> expected;
  for (int code = 0x01; code <= 0x53; ++code) expected.insert(static_cast<uint8_t>(code));
  for (int code : {0x56, 0x57, 0x58, 0x64, 0x65, 0x66, 0x70, 0x73, 0x79, 0x7B, 0x7D, 0x7E, 0x8D, 0x9C, 0x9D,
                   0xB5, 0xB7, 0xB8, 0xC5, 0xC7, 0xC8, 0xC9, 0xCB, 0xCD, 0xCF, 0xD0, 0xD1, 0xD2, 0xD3, 0xDB,
                   0xDC, 0xDD}) {
    expected.insert(static_cast<uint8_t>(code));
  }
  std::map<uint8_t, int> keysPerCode;
  std::set<int> scancodes;
  for (const SdlKeyCode& key : kSdlKeyMap) {
    ++keysPerCode[key.code];
    EXPECT_TRUE(scancodes.insert(key.scancode).second) << "scancode twice: " << key.scancode;
  }
  for (const auto& [code, keys] : keysPerCode) EXPECT_EQ(keys, 1) << "code " << int{code};
  std::set<uint8_t> mapped;
  for (const auto& entry : keysPerCode) mapped.insert(entry.first);
  EXPECT_EQ(mapped, expected);
}

TEST(SdlKeyMapTest, TheGamesKeysAreTheCursorBlockNotTheKeypad) {
  std::map<int, uint8_t> code;
  for (const SdlKeyCode& key : kSdlKeyMap) code[key.scancode] = key.code;
  EXPECT_EQ(code[SDL_SCANCODE_UP], kKeyUp);
  EXPECT_EQ(code[SDL_SCANCODE_DOWN], kKeyDown);
  EXPECT_EQ(code[SDL_SCANCODE_LEFT], kKeyLeft);
  EXPECT_EQ(code[SDL_SCANCODE_RIGHT], kKeyRight);
  EXPECT_EQ(code[SDL_SCANCODE_RETURN], kKeyReturn);
  EXPECT_EQ(code[SDL_SCANCODE_ESCAPE], kKeyEscape);
  for (SDL_Scancode keypad : {SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_6}) {
    EXPECT_NE(code[keypad], kKeyUp);
    EXPECT_NE(code[keypad], kKeyDown);
    EXPECT_NE(code[keypad], kKeyLeft);
    EXPECT_NE(code[keypad], kKeyRight);
  }
}

}  // namespace
}  // namespace coilrun
